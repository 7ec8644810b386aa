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
#include "support/folder_chain.h"
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

// How a .url file came to the page: met by the walk of a folder argument,
// or named as an argument itself.
enum class Found { kByWalk, kAsArgument };

// List and comment types: the heading of a new folder, or the top list. The
// top list (folder "", no heading) opens with the first entry, and again for
// the files directly in a folder argument after a heading; a file argument
// without a folder joins the list in progress.
void list_for(LinkPage* page, const std::string& folder, Found found) {
  if (folder.empty()) {
    if (page->first_list || (found == Found::kByWalk && !page->folder.empty())) {
      page->folder.clear();
      new_list(page, nullptr);
    }
    return;
  }
  if (folder == page->folder) return;
  page->folder = folder;
  std::string heading = folder;
  std::replace(heading.begin(), heading.end(), '\\', '/');
  new_list(page, heading.c_str());
}

// How the tree path writes one kind of page: a row of routines, chosen once
// for the run by the format type.
struct TreeWriter {
  void (*head)(LinkPage* page);
  // A folder the walk reads, by its path below the argument; "" once the
  // walk of an argument is done.
  void (*walked_folder)(LinkPage* page, const std::string& rel);
  // The folder of a .url file about to go on the page.
  void (*file_folder)(LinkPage* page, const std::string& folder, Found found);
  // The link url named name of the open .url file in.
  void (*link)(LinkPage* page, const TextIn& in, const char* url, const char* name);
  void (*foot)(LinkPage* page);
};

// The markup routines in the shape of the rows below.
void list_head(LinkPage* page) { put_head(*page, "UTF-8"); }
void list_link(LinkPage* page, const TextIn& /*in*/, const char* url, const char* name) {
  put_item(page, url, name);
}
void list_foot(LinkPage* page) { put_foot(*page); }
void no_heading(LinkPage* /*page*/, const std::string& /*rel*/) {}
void bookmark_head_row(LinkPage* page) { bookmark_head(*page); }
void bookmark_file_folder(LinkPage* page, const std::string& folder, Found /*found*/) {
  bookmark_folders(page, folder);
}
void bookmark_link(LinkPage* page, const TextIn& in, const char* url, const char* name) {
  bookmark_item(*page, url, name, text_mtime(in));
}

// List and comment types: a heading and a list per folder of entries; a
// folder without entries shows nothing.
constexpr TreeWriter kListWriter{list_head, no_heading, list_for, list_link, list_foot};

// Bookmark type: folders nested as on disk, empty ones too; a link dated by
// its file's last write.
constexpr TreeWriter kBookmarkWriter{bookmark_head_row, bookmark_folders, bookmark_file_folder,
                                     bookmark_link, bookmark_foot};

// The page the tree path writes, and the writer of its kind.
struct TreePage {
  LinkPage page;
  const TreeWriter& writer;
};

// One .url file, path (a name in at when at is not null): its folder's
// heading, then the link of its address (read whole) named name. Only a
// regular file is read; what else the open gives is returned.
TextOpen put_url_file(TreePage* t, const Folder* at, const char* path, const std::string& folder,
                      const char* name, Found found) {
  TextIn in;
  const TextOpen opened = text_open_regular(&in, path, at);
  if (opened != TextOpen::kOpened) return opened;
  t->writer.file_folder(&t->page, folder, found);
  const char* url = shortcut_address(&in);
  if (url != nullptr) t->writer.link(&t->page, in, url, name);
  return TextOpen::kOpened;
}

// Appends name to path for a message, the two joined by exactly one
// separator: none is added after a path that ends in one ('/', on Windows
// '\\' too), so a folder argument typed with a trailing separator, or the
// root, names what lies below it as the user would.
//   "Fav" -> "Fav/a.url" (Windows "Fav\\a.url");  "Fav/" -> "Fav/a.url";  "/" -> "/a.url"
void join_shown_path(std::string* path, const std::string& name) {
  if (path->empty() || (path->back() != '/' && path->back() != kPathSep)) path->push_back(kPathSep);
  *path += name;
}

bool url_file(const char* name) {
  const std::size_t n = std::strlen(name);
  if (n < 4) return false;
  const char* e = name + n - 4;
  return e[0] == '.' && (e[1] | 0x20) == 'u' && (e[2] | 0x20) == 'r' && (e[3] | 0x20) == 'l';
}

// A folder the walk is in, held in the walk's FolderChain at the same index
// while its subfolders, in byte order, are visited; the sizes of the path and
// of the part below the argument.
struct Level {
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
bool enter(TreePage* t, Folder&& f, const std::string& path, const std::string& rel,
           std::vector<Level>* levels, FolderChain* held) {
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
  t->writer.walked_folder(&t->page, rel);
  for (const UrlName& file : files) {
    const std::string& name = file.name;
    // Opened as a regular file only: what took its place since the folder
    // was read is not read either. Its entry is named without ".url".
    const std::string entry = name.substr(0, name.size() - 4);
    const TextOpen got = file.file
                             ? put_url_file(t, &f, name.c_str(), rel, entry.c_str(), Found::kByWalk)
                             : TextOpen::kNotRegular;
    if (got == TextOpen::kOpened) continue;
    std::string at = path;
    join_shown_path(&at, name);
    if (got == TextOpen::kNotRegular) {
      errmsg_whole("%s: not a regular file\n", at.c_str());
    } else {
      errmsg_whole("%s: cannot read\n", at.c_str());
    }
  }
  if (!folders.empty()) {
    // Named from the level above by the part of rel below it ("a/b" when a
    // level between had no more subfolders to visit and was let go).
    const std::size_t above = levels->empty() ? 0 : levels->back().rel_size;
    const std::size_t from = above == 0 ? 0 : above + 1;
    held->push(std::move(f), from < rel.size() ? rel.substr(from) : std::string());
    levels->push_back(Level{path.size(), rel.size(), std::move(folders)});
  }
  return true;
}

// Drops the levels from at on: their subfolders still to visit are left out.
void drop_levels(std::vector<Level>* levels, FolderChain* held, std::size_t at) {
  while (levels->size() > at) {
    levels->pop_back();
    held->pop();
  }
}

// Every .url file below the folder f, the argument arg, depth first in byte
// order, without recursion. Each folder is read once and opened through the
// one above it, so a tree deeper than the system's path limit is walked like
// any other; the folders whose subfolders are still to visit are held in a
// FolderChain, so a tree of any depth needs a fixed number of descriptors.
// One let go and no longer where the walk left it is reported, and its
// subfolders still to visit are left out. Memory holds the path and, per
// level on it, the names of the subfolders still to visit.
void walk(TreePage* t, Folder&& f, const char* arg) {
  std::string path = arg;
  std::string rel;
  std::vector<Level> levels;
  FolderChain held;
  if (!enter(t, std::move(f), path, rel, &levels, &held)) {
    errmsg_whole("%s: cannot read folder\n", arg);
    return;
  }
  while (!levels.empty()) {
    Level& top = levels.back();
    path.resize(top.path_size);
    rel.resize(top.rel_size);
    std::size_t moved = levels.size() - 1;
    const FolderChain::Reach got = held.reach(levels.size() - 1, &moved);
    if (got != FolderChain::Reach::kHeld) {
      // A lost level is dropped at once with all below it: never met again.
      if (got == FolderChain::Reach::kMoved) {
        errmsg_whole("\"%s\": not a folder\n", path.substr(0, levels[moved].path_size).c_str());
      }
      drop_levels(&levels, &held, moved);
      continue;
    }
    const std::string& name = top.folders[top.next++];
    join_shown_path(&path, name);
    if (!rel.empty()) rel.push_back('/');
    rel += name;
    Folder sub;
    const bool opened =
        open_subfolder(held.at(levels.size() - 1), name.c_str(), &sub) == FolderResult::kReady;
    // Its last subfolder entered, a level is done; where a folder stands
    // alone, its handle goes now, so that a chain of single folders holds
    // two descriptors at most.
    if (top.next == top.folders.size() && !walk_holds_parents()) {
      drop_levels(&levels, &held, levels.size() - 1);
    }
    if (!opened || !enter(t, std::move(sub), path, rel, &levels, &held)) {
      errmsg_whole("%s: cannot read folder\n", path.c_str());
    }
    while (!levels.empty() && levels.back().next == levels.back().folders.size()) {
      drop_levels(&levels, &held, levels.size() - 1);
    }
  }
  t->writer.walked_folder(&t->page, "");
}

// One argument: a folder walked, or a file.
void put_tree_arg(TreePage* t, const char* arg) {
  Folder f;
  const FolderResult opened = open_folder(arg, FolderUse::kRead, &f);
  if (opened != FolderResult::kNotFolder) {
    if (opened == FolderResult::kReady) {
      walk(t, std::move(f), arg);
    } else {
      errmsg_whole("%s: cannot read folder\n", arg);
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
  const char* name = entry.c_str() + (sep == std::string::npos ? 0 : sep + 1);
  const TextOpen got = put_url_file(t, nullptr, arg, folder, name, Found::kAsArgument);
  if (got == TextOpen::kNotRegular) {
    errmsg_whole("%s: not a regular file\n", arg);
  } else if (got == TextOpen::kNotFound) {
    errmsg_whole("%s: not found\n", arg);
  }
}

}  // namespace

void put_tree_page(const LinkPageOptions& options, std::span<char*> args) {
  // Format type 2 makes a bookmark file, any other a page of lists.
  TreePage t{LinkPage(options), options.format == 2 ? kBookmarkWriter : kListWriter};
  t.page.escaped = true;
  t.page.folder.clear();  // a folder part of two blanks is a folder like any other here
  t.writer.head(&t.page);
  for (const char* arg : args) put_tree_arg(&t, arg);
  t.writer.foot(&t.page);
}
