#include "shortcut/url_steps.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "diag/errmsg.h"
#include "support/fclose.h"
#include "support/folder.h"
#include "support/outfile.h"
#include "support/port.h"
#include "support/sjis.h"
#include "support/utf7.h"
#include "support/utf8.h"

namespace {

// Replacement of one single-byte character of a name; 0 keeps it.
unsigned char replacement(unsigned char c) {
  switch (c) {
    case ':': return ';';
    case '/':
    case '\\':
    case '|': return '!';
    case '<': return '(';
    case '>': return ')';
    case '*':
    case '?': return ' ';
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

// Removes the file that write_url_file has just created (and closed) but
// could not write or close completely, so that a later run writes the link.
void discard(const UrlFile& f, UrlPlace at) {
  if (at.folder != nullptr) {
    remove_new(*at.folder, f.name.data());
  } else {
    std::remove(f.path.data());
  }
}

// text with each character outside printable ASCII, and each byte that
// begins no UTF-8 sequence, as '?':  "a\xC3\xA9\xFF" -> "a??"
std::string ascii_form(std::string_view text) {
  std::string out;
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  for (std::size_t i = 0; i < text.size();) {
    const int len = utf8_length(s + i, text.size() - i);
    const bool printable = s[i] >= 0x20 && s[i] <= 0x7E;
    out.push_back(printable ? static_cast<char>(s[i]) : '?');
    i += len > 0 ? static_cast<std::size_t>(len) : 1;
  }
  return out;
}

// A property a .url file holds: the set its section is named after, the key
// of its line.
struct Property {
  const char* set;
  const char* key;
};
constexpr Property kDescription{"5CBF2787-48CF-4208-B90E-EE5E5D420294", "Prop21"};
constexpr Property kKeywords{"F29F85E0-4FF9-1068-AB91-08002B27B3D9", "Prop5"};

// Appends one property of a .url file's property store to *out: its ASCII
// section, and its .W section when the text needs one.
void append_property(Property p, const char* text, std::string* out) {
  if (text == nullptr || text[0] == '\0') return;
  const std::string_view t(text);
  *out +=
      std::string("[{") + p.set + "}]" + kUrlNewline + p.key + "=31," + ascii_form(t) + kUrlNewline;
  const bool wide = std::any_of(t.begin(), t.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u > 0x7E;
  });
  if (!wide) return;
  std::string utf7;
  utf8_to_utf7(t, &utf7);
  *out += std::string("[{") + p.set + "}.W]" + kUrlNewline + p.key + "=31," + utf7 + kUrlNewline;
}

// The texts after the address: the icon lines (-i's, else the link's own
// icon address), the description and the tags. Made whole before the file
// is created, so that nothing is left to fail for want of memory once it is.
std::string extras_text(const ShortcutOptions& o, const UrlExtras& x) {
  std::string out;
  const int shown_index = o.icon_index > 0 ? o.icon_index : 0;
  const bool own_icon = o.icon == nullptr && x.icon != nullptr && x.icon[0] != '\0';
  if (o.icon != nullptr || own_icon) {
    out += "IconIndex=" + std::to_string(own_icon ? 1 : shown_index) + kUrlNewline +
           "IconFile=" + (own_icon ? x.icon : o.icon) + kUrlNewline;
  }
  append_property(kDescription, x.description, &out);
  append_property(kKeywords, x.tags, &out);
  return out;
}

// In a held folder (-x), a failure for want of space is the full disk it is.
void report_no_space(UrlPlace at) {
  if (at.folder != nullptr && failed_for_space()) errmsg("no free disk space\n");
}

// The report of a file's path: whole in a held folder (-x), where a path
// has no length limit; as errmsg cuts it by its path.
using PathReport = void (*)(const char* fmt, ...);
PathReport path_report(UrlPlace at) { return at.folder != nullptr ? errmsg_whole : errmsg; }

}  // namespace

bool join_url(const Link& link, bool absolute, const char* url_prefix, UrlFile* f,
              UrlLength length) {
  if (!absolute && url_prefix[0] == '\0') return false;
  const char* join = absolute ? "" : url_prefix;
  if (length == UrlLength::kLimited && std::strlen(join) + std::strlen(link.url) > kMaxUrl) {
    errmsg("too long URL for the link of \"%s\"\n", link.caption);
    return false;
  }
  f->url = join;
  f->url += link.url;
  return true;
}

void cut_line_feed(char* caption, NameRules rules) {
  if (char* nl = rules.tree ? std::strchr(caption, '\n') : Strchr(caption, '\n')) *nl = '\0';
}

char* clean_link_name(char* name, NameRules rules) {
  if (rules.tree) {
    // Control bytes (a tab, or a CR or LF made by a reference) stand in no
    // Windows name: blanks, as a browser shows them.
    for (char* c = name; *c != '\0'; ++c) {
      if (static_cast<unsigned char>(*c) < 0x20) *c = ' ';
    }
  }
  clean_name(name, rules.utf8);
  if (rules.tree) {
    while (*name == ' ') ++name;
  }
  return name;
}

char* link_name(const Link& link, const char* name_prefix, NameRules rules) {
  cut_line_feed(link.caption, rules);
  if (!rules.tree && std::strlen(name_prefix) + std::strlen(link.caption) >
                         static_cast<std::size_t>(kMaxNameSource)) {
    errmsg("too long name ... %s\n", link.caption);
    return nullptr;
  }
  char* name = sp_skip(link.caption);
  const std::string before = name;
  name = clean_link_name(name, rules);
  if (only_blanks(name)) {
    errmsg("[%s]: invalid name for the link of \"%s\"\n", before.c_str(), link.url);
    return nullptr;
  }
  return name;
}

bool is_reserved(const char* name, DeviceNames names) {
  // Every name of the table is 3 to 5 ASCII bytes: a name whose part before
  // the first '.' (kWindows, without the blanks Windows drops at its end) or
  // whole (kWhole) is longer or shorter is none.
  const bool windows = names == DeviceNames::kWindows;
  std::size_t n = windows ? std::strcspn(name, ".") : std::strlen(name);
  while (windows && n > 0 && name[n - 1] == ' ') --n;
  if (n < 3 || n > 5) return false;
  char lower[6] = {};
  for (std::size_t i = 0; i < n; ++i) lower[i] = ascii_lower(name[i]);
  if (windows && n == 4 &&
      (std::strncmp(lower, "com", 3) == 0 || std::strncmp(lower, "lpt", 3) == 0)) {
    return lower[3] >= '1' && lower[3] <= '9';
  }
  for (const char* r : {"con", "prn", "aux", "nul", "clock"}) {
    if (std::strcmp(lower, r) == 0) return true;
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

bool name_fits(const UrlFile& f) {
  if (kLimitNameLength && std::strlen(f.name.data()) > static_cast<std::size_t>(kNameMax)) {
    errmsg("too long name ... %s\n", f.name.data());
    return false;
  }
  return true;
}

bool join_path(const char* folder, UrlFile* f) {
  const std::size_t n = std::strlen(folder);
  const char* file = f->name.data();
  if (n == 0) {
    std::snprintf(f->path.data(), f->path.size(), "%s", file);
    return true;
  }
  if (n + 1 + std::strlen(file) > kUrlArea - 1) {
    errmsg("too long path ... %s\n", file);
    return false;
  }
  // "out" + "/" + "a.url"; a folder ending in a separator gives two.
  std::memcpy(f->path.data(), folder, n);
  f->path[n] = kPathSep;
  std::memcpy(f->path.data() + n + 1, file, std::strlen(file) + 1);
  return true;
}

UrlResult write_url_file(const UrlFile& f, const ShortcutOptions& o, UrlPlace at,
                         const UrlExtras& extras) {
  const char* path = at.folder != nullptr ? at.shown : f.path.data();
  const int shown_index = o.icon_index > 0 ? o.icon_index : 0;
  // "IconIndex=%d\nIconFile=%s\n" must fit its area too (by path only).
  if (at.folder == nullptr && o.icon != nullptr &&
      21 + digits(shown_index) + std::strlen(o.icon) > kUrlArea - 1) {
    errmsg("too long icon file ... %s\n", f.name.data());
    return UrlResult::kPassed;
  }

  const std::string extra = extras_text(o, extras);
  // Create the file, never opening one that exists.
  std::FILE* fp = nullptr;
  switch (at.folder != nullptr ? create_new(*at.folder, f.name.data(), &fp)
                               : create_new(path, &fp)) {
    case CreateResult::kExists: return UrlResult::kThere;
    case CreateResult::kNoSpace:
      if (at.folder != nullptr) errmsg("no free disk space\n");
      path_report(at)("\"%s\": cannot create\n", path);
      return UrlResult::kStop;
    case CreateResult::kFailed:
      // In a held folder (-x) one name the system refuses (no permission
      // there, say) costs its link only, as a folder that cannot be made
      // costs its entries; the next file may well be made.
      path_report(at)("\"%s\": cannot create\n", path);
      return at.folder != nullptr ? UrlResult::kPassed : UrlResult::kStop;
    case CreateResult::kCreated: break;
  }

  // Write, close, and make sure the volume has room left.
  // A time is set once the bytes are out, as a later write would change it.
  if (std::fprintf(fp, "[InternetShortcut]%sURL=%s%s", kUrlNewline, f.url.c_str(), kUrlNewline) <
          0 ||
      std::fputs(extra.c_str(), fp) < 0 || (f.time != 0 && !set_file_time(fp, f.time))) {
    // The close may add its own full-disk report; the file goes after it
    // (Windows removes no file that is still open).
    report_no_space(at);
    path_report(at)("\"%s\": writing error\n", path);
    Fclose(fp, path, at.folder);
    discard(f, at);
    return UrlResult::kStop;
  }
  switch (Fclose(fp, path, at.folder)) {
    case 0: return UrlResult::kWritten;
    case EOF:
      report_no_space(at);
      discard(f, at);
      break;
    default: break;  // complete, but the volume is full: the file stays
  }
  path_report(at)("\"%s\"; writing error\n", path);
  return UrlResult::kStop;
}
