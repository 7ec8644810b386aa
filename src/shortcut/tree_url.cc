#include "shortcut/tree_url.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "shortcut/refs.h"
#include "support/charset.h"
#include "support/folder.h"
#include "support/port.h"
#include "support/sjis.h"
#include "support/utf8.h"

namespace {

NameRules rules_of(const TreeRun& run) { return NameRules{.tree = true, .utf8 = run.utf8}; }

// name (already safe) in the form file names take: UTF-8 bytes as they are,
// Shift_JIS converted; an underscore in front of a device name.
void append_unicode(const TreeRun& run, const char* name, std::string* out) {
  if (is_reserved(name, DeviceNames::kWindows)) out->push_back('_');
  if (run.utf8) {
    out->append(name);
  } else {
    cp932_to_utf8(name, out);
  }
}

// What a file or folder name is made of: the -n prefix, never cut, in the
// first keep bytes of text, then the name (no prefix: keep 0).
struct NameSource {
  std::string text;
  std::size_t keep = 0;
};

// source as a name of at most limit bytes of UTF-8: whole when it fits,
// else cut at the end of its last whole character that fits, the blanks and
// dots at the cut end dropped. The prefix stays as given; a name part the
// cut leaves only dots and blanks is written "_", as "." or ".." would name
// no file and a folder of dots would be the one above. (A prefix that fills
// the limit alone is cut as a name is, keeping at least one byte.)
//   limit 5: "abcdef" -> "abcde";  "a\xE3\x81\x82\xE3\x81\x82" -> "a\xE3\x81\x82";
//   "ab..  cd" -> "ab";  ". . . ." -> "_";  keep 2: "pr. . ." -> "pr_"
std::string fitted(const NameSource& source, std::size_t limit) {
  const std::string& base = source.text;
  const std::size_t keep = source.keep;
  const auto* s = reinterpret_cast<const unsigned char*>(base.c_str());
  std::size_t at = 0;
  while (at < base.size()) {
    // A well-formed sequence is one character; any other byte stands alone (a
    // name may hold stray bytes; Windows shows each as at most one U+FFFD).
    const int len = utf8_length(s + at, base.size() - at);
    const std::size_t n = len > 0 ? static_cast<std::size_t>(len) : 1;
    if (at + n > limit) break;
    at += n;
  }
  if (at == base.size()) return base;
  const std::size_t floor = keep < at ? keep : 1;
  std::size_t end = at;
  while (end > floor && (s[end - 1] == ' ' || s[end - 1] == '.')) --end;
  if (end > keep || keep >= at) return base.substr(0, end);
  return base.substr(0, keep) + "_";
}

// source cut to limit as fitted cuts it, and checked as the name it will
// be: when the part before its first '.' (with ".url" after it, the part
// before that) is a device name that Windows keeps, which a prefix and a
// name together ("co" + "n") or a cut ("con" and blanks) may spell, an
// underscore goes between the prefix and the name, and the name is cut
// again; *source keeps the underscore for any later cut. A number added
// later never makes a device name: it puts " (" into that part, or comes
// after its '.'.
std::string device_safe(NameSource* source, std::size_t limit) {
  std::string cut = fitted(*source, limit);
  if (!is_reserved(cut.c_str(), DeviceNames::kWindows)) return cut;
  source->text.insert(source->keep, 1, '_');
  cut = fitted(*source, limit);
  if (!is_reserved(cut.c_str(), DeviceNames::kWindows)) return cut;
  // A prefix that fills the limit alone was cut, its underscore with it:
  // the underscore leads instead.
  return fitted(NameSource{"_" + cut, 0}, limit);
}

// The key of a name in run->taken: folder key, file name, ASCII case folded
// where the file system ignores it.
std::string taken_key(std::string key) {
  if (kFoldNameCase) {
    std::transform(key.begin(), key.end(), key.begin(), ascii_lower);
  }
  return key;
}

// The short key of folder: "0\0" for the first folder written into, "1\0"
// for the next, ...
const std::string& folder_key(TreeRun* run, const Folder& folder) {
  std::string& key = run->folder_keys[{folder.volume, folder.index}];
  if (key.empty()) {
    key = std::to_string(run->folder_keys.size() - 1);
    key.push_back('\0');
  }
  return key;
}

// The file name of name in folder: prefix and name, cut to fit with its
// ".url" and made safe from device names (device_safe), numbered when this
// run has taken it in this folder (cut again so that the number fits too).
// Gives the key that takes it once written.
std::string numbered_name(TreeRun* run, const char* name, const std::string& in_folder,
                          UrlFile* f) {
  constexpr std::size_t kExt = 4;  // ".url"
  NameSource base{run->options.name_prefix, std::strlen(run->options.name_prefix)};
  append_unicode(*run, name, &base.text);
  const std::string stem = device_safe(&base, kNameMax - kExt);
  std::string file = stem + ".url";
  std::string key = taken_key(in_folder + file);
  if (run->taken.count(key) != 0) {
    int& next = run->next_number[taken_key(in_folder + stem)];
    if (next < 2) next = 2;
    do {
      const std::string number = " (" + std::to_string(next++) + ")";
      file = fitted(base, kNameMax - kExt - number.size()) + number + ".url";
      key = taken_key(in_folder + file);
    } while (run->taken.count(key) != 0);
  }
  std::snprintf(f->name.data(), f->name.size(), "%s", file.c_str());
  return key;
}

}  // namespace

UrlResult make_tree_url(TreeRun* run, const Link& link, const std::string& path,
                        const Folder& folder) {
  UrlFile f;
  if (!join_url(link, uri_scheme(link.url), run->options.url_prefix.data(), &f, UrlLength::kAny))
    return UrlResult::kPassed;
  const char* name = link_name(link, run->options.name_prefix, rules_of(*run));
  if (name == nullptr) return UrlResult::kPassed;
  std::string key = numbered_name(run, name, folder_key(run, folder), &f);
  f.time = link.added;
  // The path is for the reports only: the file is made in the held folder.
  std::string shown = path;
  if (!shown.empty()) shown.push_back(kPathSep);
  shown += f.name.data();
  const UrlResult r =
      write_url_file(f, run->options, UrlPlace{&folder, shown.c_str()}, link.extras);
  if (r == UrlResult::kWritten || r == UrlResult::kThere) {
    run->taken.emplace(std::move(key), TreeRun::Taker::kLink);
  }
  return r;
}

bool folder_name(const TreeRun& run, char* caption, std::string* out) {
  cut_line_feed(caption, rules_of(run));
  char* name = clean_link_name(sp_skip(caption), rules_of(run));
  // Neither '.' nor ' ' is ever the second byte of a Shift_JIS character.
  std::size_t n = std::strlen(name);
  while (n > 0 && (name[n - 1] == '.' || name[n - 1] == ' ')) --n;
  name[n] = '\0';
  if (n == 0) return false;
  NameSource folder;
  append_unicode(run, name, &folder.text);
  out->append(device_safe(&folder, kNameMax));
  return true;
}

std::string folder_entry(TreeRun* run, const Folder& parent, const std::string& name) {
  const std::string& in_folder = folder_key(run, parent);
  std::string entry = name;
  for (int next = 2;; ++next) {
    const auto it = run->taken.find(taken_key(in_folder + entry));
    if (it == run->taken.end() || it->second == TreeRun::Taker::kFolder) return entry;
    const std::string number = " (" + std::to_string(next) + ")";
    entry = fitted(NameSource{name}, kNameMax - number.size()) + number;
  }
}

void take_folder(TreeRun* run, const Folder& parent, const std::string& name) {
  run->taken.emplace(taken_key(folder_key(run, parent) + name), TreeRun::Taker::kFolder);
}
