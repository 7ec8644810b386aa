#include "shortcut/tree_url.h"

#include <algorithm>
#include <cstring>

#include "diag/errmsg.h"
#include "shortcut/make_url.h"
#include "shortcut/refs.h"
#include "support/names.h"
#include "support/port.h"
#include "support/sjis.h"

namespace {

// Cleans name in place and gives where it starts: the replacement table,
// then the blanks the cleaning left in front dropped. Reserved device names
// are the caller's.
char* cleaned(const TreeRun& run, char* name) {
  // Control bytes (a tab, or a CR or LF made by a reference) stand in no
  // Windows name: blanks, as a browser shows them.
  for (char* c = name; *c != '\0'; ++c) {
    if (static_cast<unsigned char>(*c) < 0x20) *c = ' ';
  }
  clean_name(name, run.utf8);
  while (*name == ' ') ++name;
  return name;
}

// The device names Windows keeps, with or without an extension: con, prn,
// aux, nul, clock, com1-com9, lpt1-lpt9, in any case.
//   "Nul" "con.txt" "COM1" "lpt9.x" -> true;  "com0" "console" "con " -> false
bool device_name(const char* name) {
  std::size_t n = std::strcspn(name, ".");
  if (n < 3 || n > 5) return false;
  char lower[6] = {};
  for (std::size_t i = 0; i < n; ++i) {
    const char c = name[i];
    lower[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  if (n == 4 && (std::strncmp(lower, "com", 3) == 0 || std::strncmp(lower, "lpt", 3) == 0)) {
    return lower[3] >= '1' && lower[3] <= '9';
  }
  for (const char* r : {"con", "prn", "aux", "nul", "clock"}) {
    if (std::strcmp(lower, r) == 0) return true;
  }
  return false;
}

// name (already safe) in the form file names take: UTF-8 bytes as they are,
// Shift_JIS converted; an underscore in front of a device name.
void append_unicode(const TreeRun& run, const char* name, std::string* out) {
  if (device_name(name)) out->push_back('_');
  if (run.utf8) {
    out->append(name);
  } else {
    cp932_to_utf8(name, out);
  }
}

std::string taken_key(const std::string& folder, const std::string& file) {
  std::string key = folder;
  key.push_back('\0');
  key += file;
  if (kFoldNameCase) {
    std::transform(key.begin(), key.end(), key.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  }
  return key;
}

}  // namespace

TreeResult make_url_x(TreeRun* run, char* caption, const char* link_url, const std::string& folder) {
  // The absolute URL: any scheme stands as it is, anything else is joined.
  const bool absolute = uri_scheme(link_url);
  if (!absolute && run->url_prefix[0] == '\0') return TreeResult::kPassed;
  const char* join = absolute ? "" : run->url_prefix;
  if (std::strlen(join) + std::strlen(link_url) > kMaxUrl) {
    errmsg("too long URL for the link of \"%s\"\n", caption);
    return TreeResult::kPassed;
  }
  std::string url = join;
  url += link_url;

  if (char* nl = std::strchr(caption, '\n')) *nl = '\0';
  if (std::strlen(run->name_prefix) + std::strlen(caption) > static_cast<std::size_t>(kMaxNameSource)) {
    errmsg("too long name ... %s\n", caption);
    return TreeResult::kPassed;
  }
  char* name = sp_skip(caption);
  const std::string before = name;
  name = cleaned(*run, name);
  if (*name == '\0') {
    errmsg("[%s]: invalid name for the link of \"%s\"\n", before.c_str(), link_url);
    return TreeResult::kPassed;
  }

  // The file name, numbered when this run has taken it in this folder.
  std::string base = run->name_prefix;
  append_unicode(*run, name, &base);
  std::string file = base + ".url";
  std::string key = taken_key(folder, file);
  if (run->taken.count(key) != 0) {
    int& next = run->next_number[taken_key(folder, base)];
    if (next < 2) next = 2;
    do {
      file = base + " (" + std::to_string(next++) + ").url";
      key = taken_key(folder, file);
    } while (run->taken.count(key) != 0);
  }
  if (kLimitNameLength && file.size() > static_cast<std::size_t>(kNameMax)) {
    errmsg("too long name ... %s\n", file.c_str());
    return TreeResult::kPassed;
  }
  std::string path = folder;
  if (!path.empty()) path.push_back(kPathSep);
  path += file;
  if (path.size() > static_cast<std::size_t>(kUrlArea - 1)) {
    errmsg("too long path ... %s\n", file.c_str());
    return TreeResult::kPassed;
  }
  switch (write_url_file(path.c_str(), url.c_str(), run->icon, run->icon_index, file.c_str())) {
    case 0:
      run->taken.insert(std::move(key));
      return TreeResult::kWritten;
    case 1:
      run->taken.insert(std::move(key));
      return TreeResult::kThere;
    case 2:
      return TreeResult::kPassed;
    default:
      return TreeResult::kStop;
  }
}

bool folder_name(const TreeRun& run, char* caption, std::string* out) {
  if (char* nl = std::strchr(caption, '\n')) *nl = '\0';
  char* name = cleaned(run, sp_skip(caption));
  // Neither '.' nor ' ' is ever the second byte of a Shift_JIS character.
  std::size_t n = std::strlen(name);
  while (n > 0 && (name[n - 1] == '.' || name[n - 1] == ' ')) --n;
  name[n] = '\0';
  if (n == 0) return false;
  append_unicode(run, name, out);
  return true;
}
