#include "shortcut/make_url.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "diag/errmsg.h"
#include "support/fclose.h"
#include "support/port.h"
#include "support/sjis.h"
#include "support/textio.h"

namespace {

using Area = std::array<char, kUrlArea>;

// Replacement of one single-byte character of a name; 0 keeps it.
unsigned char replacement(unsigned char c) {
  switch (c) {
    case ':': return ';';
    case '/': case '\\': case '|': return '!';
    case '<': return '(';
    case '>': return ')';
    case '*': case '?': return ' ';
    case '"': return '\'';
    default: return 0;
  }
}

bool only_blanks(const char* s) {
  while (*s == ' ') ++s;
  return *s == '\0';
}

std::size_t digits(int n) {
  char tmp[16];
  return static_cast<std::size_t>(std::snprintf(tmp, sizeof tmp, "%d", n));
}

// Reports a write failure, closes the partly written file (Fclose may add
// its own full-disk report) and stops the scan.
int write_failed(std::FILE* fp, const char* path) {
  errmsg("\"%s\": writing error\n", path);
  Fclose(fp, path);
  return -1;
}

}  // namespace

bool is_reserved(const char* name) {
  Area lower;
  std::snprintf(lower.data(), lower.size(), "%s", name);
  to_lower(lower.data());
  for (const char* r : {"con", "prn", "aux", "nul", "clock"}) {
    if (std::strcmp(lower.data(), r) == 0) return true;
  }
  return false;
}

void clean_name(char* name, bool utf8) {
  auto* p = reinterpret_cast<unsigned char*>(name);
  while (*p != '\0') {
    // Second bytes of Shift_JIS are 0x40..0xFC: a lead byte before anything
    // lower (a stray byte of UTF-8 or a cut character) carries nothing along.
    // UTF-8 needs no stepping: no byte of a multi-byte sequence is ASCII.
    if (!utf8 && sjis_lead(p[0]) && p[1] >= 0x40) {
      p += 2;
      continue;
    }
    if (p[0] == '.' && p[1] == '.') {
      p[0] = p[1] = ' ';
    } else if (const unsigned char r = replacement(p[0])) {
      p[0] = r;
    }
    ++p;
  }
}

int make_url(char* caption, const char* url_prefix, const char* link_url, const char* /*select*/,
             const char* outdir, const char* icon, int icon_index, const char* name_prefix) {
  // 1. The absolute URL.
  Area url;
  const bool absolute =
      std::strncmp(link_url, "http:", 5) == 0 || std::strncmp(link_url, "ftp:", 4) == 0;
  if (!absolute && url_prefix[0] == '\0') return 0;
  const char* join = absolute ? "" : url_prefix;
  if (std::strlen(join) + std::strlen(link_url) > kMaxUrl) {
    errmsg("too long URL for the link of \"%s\"\n", caption);
    return 0;
  }
  std::snprintf(url.data(), url.size(), "%s%s", join, link_url);

  // 2.-3. The caption ends at its first line feed; its length with the name
  // prefix, leading blanks counted, is limited.
  if (char* nl = Strchr(caption, '\n')) *nl = '\0';
  if (std::strlen(name_prefix) + std::strlen(caption) > static_cast<std::size_t>(kMaxNameSource)) {
    errmsg("too long name ... %s\n", caption);
    return 0;
  }

  // 4.-6. The name: leading blanks and tabs dropped, cleaned, not blank.
  char* name = sp_skip(caption);
  Area before;
  std::snprintf(before.data(), before.size(), "%s", name);
  clean_name(name);
  if (only_blanks(name)) {
    errmsg("[%s]: invalid name for the link of \"%s\"\n", before.data(), link_url);
    return 1;
  }

  // 7.-9. File name and path; "con" and its kind get an underscore.
  Area file;
  std::snprintf(file.data(), file.size(), is_reserved(name) ? "%s_%s.url" : "%s%s.url",
                name_prefix, name);
  if (kLimitNameLength && std::strlen(file.data()) > static_cast<std::size_t>(kNameMax)) {
    errmsg("too long name ... %s\n", file.data());
    return 0;
  }
  Area path;
  if (outdir[0] == '\0') {
    std::snprintf(path.data(), path.size(), "%s", file.data());
  } else {
    if (std::strlen(outdir) + 1 + std::strlen(file.data()) > kUrlArea - 1) {
      errmsg("too long path ... %s\n", file.data());
      return 0;
    }
    // "out" + "/" + "a.url"; an outdir ending in a separator gives two.
    const std::size_t n = std::strlen(outdir);
    std::memcpy(path.data(), outdir, n);
    path[n] = kPathSep;
    std::memcpy(path.data() + n + 1, file.data(), std::strlen(file.data()) + 1);
  }
  const int r = write_url_file(path.data(), url.data(), icon, icon_index, file.data());
  return r == 2 ? 0 : r;
}

int write_url_file(const char* path, const char* url, const char* icon, int icon_index,
                   const char* shown_name) {
  const int shown_index = icon_index > 0 ? icon_index : 0;
  // "IconIndex=%d\nIconFile=%s\n" must fit its area too.
  if (icon != nullptr && 21 + digits(shown_index) + std::strlen(icon) > kUrlArea - 1) {
    errmsg("too long icon file ... %s\n", shown_name);
    return 2;
  }

  // 10.-11. Create the file, never opening one that exists.
  std::FILE* fp = nullptr;
  switch (create_new(path, &fp)) {
    case CreateResult::kExists:
      return 1;
    case CreateResult::kFailed:
      errmsg("\"%s\": cannot create\n", path);
      return -1;
    case CreateResult::kCreated:
      break;
  }

  // 12.-14. Write, close, and make sure the volume has room left.
  if (std::fprintf(fp, "[InternetShortcut]%sURL=%s%s", kUrlNewline, url, kUrlNewline) < 0) {
    return write_failed(fp, path);
  }
  if (icon != nullptr && std::fprintf(fp, "IconIndex=%d%sIconFile=%s%s", shown_index, kUrlNewline,
                                      icon, kUrlNewline) < 0) {
    return write_failed(fp, path);
  }
  if (Fclose(fp, path) != 0) {
    errmsg("\"%s\"; writing error\n", path);
    return -1;
  }
  return 0;
}
