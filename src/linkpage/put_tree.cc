#include "linkpage/put_tree.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "diag/errmsg.h"
#include "linkpage/markup.h"
#include "support/utf7.h"
#include "support/folder.h"
#include "support/port.h"
#include "support/sjis.h"
#include "support/textio.h"

namespace {

// The buffers of shortcut_address, kept from file to file: the line read,
// the first "URL=" value outside the .W section and the .W one decoded.
struct AddressBuffers {
  std::string line;
  std::string url;
  std::string wide;
};
AddressBuffers g_buf;

// The start of a line that tells what it is: a "URL=" line, or the .W
// header with its line end.
constexpr std::size_t kHead = sizeof "[InternetShortcut.W]\r\n" - 1;

// Drops the line end: the LF, then a CR before it or at the end of the file
// (the last line of a file written by hand).   "a\r\n" read as "a\n" -> "a";  "a\r" -> "a"
void drop_line_end(std::string* line) {
  if (!line->empty() && line->back() == '\n') line->pop_back();
  if (!line->empty() && line->back() == '\r') line->pop_back();
}

// The header of the Unicode section, in any ASCII case, as Windows reads a
// section name; nothing else on the line.   "[internetshortcut.w]" -> true
bool wide_header(const std::string& line) { return equal_nocase(line, "[InternetShortcut.W]"); }

// The value of a .W "URL=" line decoded into g_buf.wide; false when it is
// empty or does not decode (a control character included).
bool wide_address(const std::string& line) {
  return line.size() > 4 && utf7_to_utf8(std::string_view(line).substr(4), &g_buf.wide);
}

// The address of the open .url file, or null when it has no "URL=" line
// outside the .W section and no usable one in it: the first "URL=" value of
// its [InternetShortcut.W] section decoded from UTF-7, else (no such section
// or line, or a value that is empty or does not decode) the first "URL="
// value outside that section, wherever the two stand. Any other line
// beginning with '[' ends the section. The file is read once, up to where
// the address is known; only those two lines are held, each as long as it
// is, every other line looked at by its first kHead bytes and passed over.
// Points into a buffer that the next call overwrites.
const char* shortcut_address(TextIn* in) {
  std::string& line = g_buf.line;
  bool have_url = false;
  bool in_wide = false;
  bool seen_wide = false;  // the first .W "URL=" line, which did not serve
  for (;;) {
    line.clear();
    if (!text_readon(in, &line, kHead)) break;
    const bool whole = line.back() == '\n' || line.size() < kHead;
    const bool wanted = line.compare(0, 4, "URL=") == 0 && (in_wide ? !seen_wide : !have_url);
    if (!wanted) {
      if (line[0] == '[') {
        drop_line_end(&line);
        in_wide = whole && wide_header(line);
      }
      if (!whole) text_skipline(in);
      continue;
    }
    if (!whole) text_readon(in, &line, std::string::npos);
    drop_line_end(&line);
    if (in_wide) {
      if (wide_address(line)) return g_buf.wide.c_str();
      seen_wide = true;
    } else {
      g_buf.url.swap(line);  // held once, however long
      g_buf.url.erase(0, 4);
      have_url = true;
    }
    if (have_url && seen_wide) break;
  }
  return have_url ? g_buf.url.c_str() : nullptr;
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
  bool failed = false;  // a .url file could not be read whole: exit status 1
};

// What became of a .url file: on the page (or without an address), not
// opened, not a regular file, or opened but not read whole: a read error,
// or a line longer than memory.
enum class UrlRead { kRead, kNotFound, kNotRegular, kReadError, kNoMemory };

// One .url file, path (a name in at when at is not null): its folder's
// heading, then the link of its address named name. Only a regular file is
// read; a file not read whole gives no link.
UrlRead put_url_file(TreePage* t, const Folder* at, const char* path, const std::string& folder,
                     const char* name, Found found) {
  TextIn in;
  const TextOpen opened = text_open_regular(&in, path, at);
  if (opened == TextOpen::kNotRegular) return UrlRead::kNotRegular;
  if (opened == TextOpen::kNotFound) return UrlRead::kNotFound;
  t->writer.file_folder(&t->page, folder, found);
  const char* url = nullptr;
  try {
    url = shortcut_address(&in);
  } catch (const std::bad_alloc&) {
    g_buf = AddressBuffers{};  // what the line took is given back
    return UrlRead::kNoMemory;
  }
  if (text_failed(in)) return UrlRead::kReadError;
  if (url != nullptr) t->writer.link(&t->page, in, url, name);
  return UrlRead::kRead;
}

// Reports a .url file that put_url_file did not read, shown as path; the
// rest goes on. One that could not be read whole fails the run.
void report_url(TreePage* t, UrlRead got, const char* path, Found found) {
  switch (got) {
    case UrlRead::kRead: break;
    case UrlRead::kNotRegular: errmsg("%s: not a regular file\n", path); break;
    case UrlRead::kNotFound:
      if (found == Found::kByWalk) {
        errmsg("%s: cannot read\n", path);
      } else {
        errmsg("%s: not found\n", path);
      }
      break;
    case UrlRead::kReadError:
      errmsg("\"%s\": read error\n", path);
      t->failed = true;
      break;
    case UrlRead::kNoMemory:
      errmsg("cannot get memory\n");
      t->failed = true;
      break;
  }
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
bool enter(TreePage* t, Folder&& f, const std::string& path, const std::string& rel,
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
  t->writer.walked_folder(&t->page, rel);
  for (const UrlName& file : files) {
    const std::string& name = file.name;
    // Opened as a regular file only: what took its place since the folder
    // was read is not read either. Its entry is named without ".url".
    const std::string entry = name.substr(0, name.size() - 4);
    const UrlRead got = file.file
                            ? put_url_file(t, &f, name.c_str(), rel, entry.c_str(), Found::kByWalk)
                            : UrlRead::kNotRegular;
    if (got == UrlRead::kRead) continue;
    std::string at = path;
    join_shown_path(&at, name);
    report_url(t, got, at.c_str(), Found::kByWalk);
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
void walk(TreePage* t, Folder&& f, const char* arg) {
  std::string path = arg;
  std::string rel;
  std::vector<Level> levels;
  if (!enter(t, std::move(f), path, rel, &levels)) {
    errmsg("%s: cannot read folder\n", arg);
    return;
  }
  while (!levels.empty()) {
    Level& top = levels.back();
    path.resize(top.path_size);
    rel.resize(top.rel_size);
    const std::string& name = top.folders[top.next++];
    join_shown_path(&path, name);
    if (!rel.empty()) rel.push_back('/');
    rel += name;
    Folder sub;
    const bool opened = open_subfolder(top.folder, name.c_str(), &sub) == FolderResult::kReady;
    // Its last subfolder entered, a level is done; where a folder stands
    // alone, its handle goes now, so that a chain of single folders holds
    // two descriptors at most.
    if (top.next == top.folders.size() && !walk_holds_parents()) levels.pop_back();
    if (!opened || !enter(t, std::move(sub), path, rel, &levels)) {
      errmsg("%s: cannot read folder\n", path.c_str());
    }
    while (!levels.empty() && levels.back().next == levels.back().folders.size()) {
      levels.pop_back();
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
  const char* name = entry.c_str() + (sep == std::string::npos ? 0 : sep + 1);
  report_url(t, put_url_file(t, nullptr, arg, folder, name, Found::kAsArgument), arg,
             Found::kAsArgument);
}

}  // namespace

bool put_tree_page(const LinkPageOptions& options, std::span<char*> args) {
  // Format type 2 makes a bookmark file, any other a page of lists.
  TreePage t{LinkPage(options), options.format == 2 ? kBookmarkWriter : kListWriter};
  t.page.escaped = true;
  t.page.folder.clear();  // a folder part of two blanks is a folder like any other here
  t.writer.head(&t.page);
  // Memory that runs out in a walk (the names of a huge folder) ends it;
  // what is on the page stays, and the page is closed.
  try {
    for (const char* arg : args) put_tree_arg(&t, arg);
  } catch (const std::bad_alloc&) {
    errmsg("cannot get memory\n");
    t.failed = true;
  }
  t.writer.foot(&t.page);
  return !t.failed;
}
