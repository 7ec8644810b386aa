#include "linkpage/put_tree.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "diag/errmsg.h"
#include "linkpage/markup.h"
#include "linkpage/utf7.h"
#include "support/folder.h"
#include "support/port.h"
#include "support/sjis.h"
#include "support/textio.h"

namespace {

// The buffers of shortcut_address, kept from file to file: the line read,
// the first "URL=" value and the decoded one of the .W section.
std::string g_line;
std::string g_url;
std::string g_wide;

// Drops the line end: the LF, then a CR before it or at the end of the file
// (the last line of a file written by hand).   "a\r\n" read as "a\n" -> "a";  "a\r" -> "a"
void drop_line_end(std::string* line) {
  if (!line->empty() && line->back() == '\n') line->pop_back();
  if (!line->empty() && line->back() == '\r') line->pop_back();
}

// The header of the Unicode section, in any ASCII case, as Windows reads a
// section name; nothing else on the line.   "[internetshortcut.w]" -> true
bool wide_header(const std::string& line) { return equal_nocase(line, "[InternetShortcut.W]"); }

// The address of the open .url file, or null when it has no "URL=" line:
// the first "URL=" value of its [InternetShortcut.W] section decoded from
// UTF-7, else (no such section or line, or a value that does not decode)
// the value of its first "URL=" line in any section. The file is read once,
// up to that .W line. Any other line beginning with '[' ends the section.
// Points into a buffer that the next call overwrites.
const char* shortcut_address(TextIn* in) {
  bool have_url = false;
  bool in_wide = false;
  while (text_getline(in, &g_line)) {
    drop_line_end(&g_line);
    if (!g_line.empty() && g_line[0] == '[') {
      in_wide = wide_header(g_line);
      continue;
    }
    if (g_line.compare(0, 4, "URL=") != 0) continue;
    if (!have_url) g_url.assign(g_line, 4);
    have_url = true;
    if (in_wide) {
      if (utf7_to_utf8(std::string_view(g_line).substr(4), &g_wide)) return g_wide.c_str();
      break;
    }
  }
  return have_url ? g_url.c_str() : nullptr;
}

// List and comment types: the heading of a new folder, or the top list. The
// top list (folder "", no heading) opens with the first entry, and again for
// the files directly in a folder argument after a heading; a file argument
// without a folder joins the list in progress.
void list_for(const std::string& folder, bool walked) {
  if (folder.empty()) {
    if (g_page.first_list || (walked && !g_page.folder.empty())) {
      g_page.folder.clear();
      new_list(nullptr);
    }
    return;
  }
  if (folder == g_page.folder) return;
  g_page.folder = folder;
  std::string heading = folder;
  std::replace(heading.begin(), heading.end(), '\\', '/');
  new_list(heading.c_str());
}

// One .url file, path (a name in at when at is not null): its folder's
// heading, then the link of its address (read whole) named name; a bookmark
// file dates it by the file's last write. Only a regular file is read; what
// else the open gives is returned.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): both calls pass the folder, then the name
TextOpen put_entry(const Folder* at, const char* path, const std::string& folder,
                   const std::string& name, bool walked) {
  TextIn in;
  const TextOpen opened = text_open_regular(&in, path, at);
  if (opened != TextOpen::kOpened) return opened;
  if (bookmark_type()) {
    bookmark_folders(folder);
  } else {
    list_for(folder, walked);
  }
  const char* url = shortcut_address(&in);
  if (url == nullptr) return TextOpen::kOpened;
  if (bookmark_type()) {
    bookmark_item(url, name.c_str(), text_mtime(in));
  } else {
    put_item(url, name.c_str());
  }
  return TextOpen::kOpened;
}

bool url_file(const char* name) {
  const std::size_t n = std::strlen(name);
  if (n < 4) return false;
  const char* e = name + n - 4;
  return e[0] == '.' && (e[1] | 0x20) == 'u' && (e[2] | 0x20) == 'r' && (e[3] | 0x20) == 'l';
}

// A folder the walk is in: held open while its subfolders, in byte order,
// are visited; the sizes of the path and of the part below the argument.
struct Level {
  Folder folder;
  std::size_t path_size;
  std::size_t rel_size;
  std::vector<std::string> folders;
  std::size_t next = 0;
};

// A .url name of a folder, and whether it was a file (or a link to one)
// when the folder was read.
struct UrlName {
  std::string name;
  bool file;
  bool operator<(const UrlName& other) const { return name < other.name; }
};

// Reads the folder f once, at path (rel below the argument): its .url files
// go on the page in byte order, and its subfolders, when it has any, are
// pushed in byte order as a new level. A .url name that is neither a file
// nor a folder of its own (a FIFO, a link to a folder) is reported. False
// when the folder cannot be read, also when a read fails midway: what was
// read is then left out.
bool enter(Folder&& f, const std::string& path, const std::string& rel,
           std::vector<Level>* levels) {
  std::vector<UrlName> files;
  std::vector<std::string> folders;
  const bool ok = read_folder(f, [&](const char* name, EntryKind kind) {
    if (kind == EntryKind::kFolder) {
      folders.emplace_back(name);
    } else if (url_file(name)) {
      files.push_back(UrlName{name, kind == EntryKind::kFile});
    }
  });
  if (!ok) return false;
  std::sort(files.begin(), files.end());
  std::sort(folders.begin(), folders.end());
  if (bookmark_type()) bookmark_folders(rel);
  for (const UrlName& file : files) {
    const std::string& name = file.name;
    // Opened as a regular file only: what took its place since the folder
    // was read is not read either.
    const TextOpen got =
        file.file ? put_entry(&f, name.c_str(), rel, name.substr(0, name.size() - 4), true)
                  : TextOpen::kNotRegular;
    if (got == TextOpen::kOpened) continue;
    std::string at = path;
    at += kPathSep;
    at += name;
    if (got == TextOpen::kNotRegular) {
      errmsg("%s: not a regular file\n", at.c_str());
    } else {
      errmsg("%s: cannot read\n", at.c_str());
    }
  }
  if (!folders.empty()) {
    levels->push_back(Level{std::move(f), path.size(), rel.size(), std::move(folders)});
  }
  return true;
}

// Every .url file below the folder f, the argument arg, depth first in byte
// order, without recursion. Each folder is read once and opened through the
// one above it, so a tree deeper than the system's path limit is walked like
// any other. Memory holds the path and, per level on it, the names of the
// subfolders still to visit.
void walk(Folder&& f, const char* arg) {
  std::string path = arg;
  std::string rel;
  std::vector<Level> levels;
  if (!enter(std::move(f), path, rel, &levels)) {
    errmsg("%s: cannot read folder\n", arg);
    return;
  }
  while (!levels.empty()) {
    Level& top = levels.back();
    path.resize(top.path_size);
    rel.resize(top.rel_size);
    const std::string& name = top.folders[top.next++];
    path.push_back(kPathSep);
    path += name;
    if (!rel.empty()) rel.push_back('/');
    rel += name;
    Folder sub;
    const bool opened = open_subfolder(top.folder, name.c_str(), &sub) == FolderResult::kReady;
    // Its last subfolder entered, a level is done; where a folder stands
    // alone, its handle goes now, so that a chain of single folders holds
    // two descriptors at most.
    if (top.next == top.folders.size() && !walk_holds_parents()) levels.pop_back();
    if (!opened || !enter(std::move(sub), path, rel, &levels)) {
      errmsg("%s: cannot read folder\n", path.c_str());
    }
    while (!levels.empty() && levels.back().next == levels.back().folders.size()) {
      levels.pop_back();
    }
  }
  if (bookmark_type()) bookmark_folders("");
}

}  // namespace

void tree_page_head() {
  g_page.escaped = true;
  g_page.folder.clear();  // a folder part of two blanks is a folder like any other here
  if (bookmark_type()) {
    bookmark_head();
  } else {
    put_head("UTF-8");
  }
}

void tree_put_arg(const char* arg) {
  Folder f;
  const FolderResult opened = open_folder(arg, FolderUse::kRead, &f);
  if (opened != FolderResult::kNotFolder) {
    if (opened == FolderResult::kReady) {
      walk(std::move(f), arg);
    } else {
      errmsg("%s: cannot read folder\n", arg);
    }
    return;
  }
  // A file: the name ends at the last '.', the folder at the last '/' or
  // '\\'. Neither byte occurs inside a UTF-8 character.
  std::string entry = arg;
  const std::size_t dot = entry.rfind('.');
  if (dot != std::string::npos) entry.resize(dot);
  const std::size_t sep = entry.find_last_of("/\\");
  const std::string folder = sep == std::string::npos ? "" : entry.substr(0, sep);
  const TextOpen got = put_entry(nullptr, arg, folder,
                                 sep == std::string::npos ? entry : entry.substr(sep + 1), false);
  if (got == TextOpen::kNotRegular) {
    errmsg("%s: not a regular file\n", arg);
  } else if (got == TextOpen::kNotFound) {
    errmsg("%s: not found\n", arg);
  }
}

void tree_page_tail() {
  if (bookmark_type()) {
    bookmark_foot();
  } else {
    put_foot();
  }
}
