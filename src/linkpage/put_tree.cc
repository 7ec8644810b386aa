#include "linkpage/put_tree.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "diag/errmsg.h"
#include "linkpage/put_link.h"
#include "support/names.h"
#include "support/port.h"
#include "support/textio.h"

namespace {

// Names read from one folder at a time: a walk holds at most this many
// names per level, however large the folder.
constexpr std::size_t kBatch = 4096;

bool bookmark_type() { return g_page.format == 2; }
bool comment_type() { return g_page.format == 1; }

// Everything a -x page keeps between entries.
struct TreePage {
  std::string folder;                 // folder of the last heading written
  std::vector<std::string> open;      // bookmark type: the folders whose lists are open
  bool first_list = true;
  std::string line;
} g_tree;

// Writes s with the four characters of HTML markup escaped.
void put_escaped(const char* s) {
  for (;;) {
    const std::size_t n = std::strcspn(s, "&<>\"");
    std::fwrite(s, 1, n, stdout);
    s += n;
    switch (*s) {
      case '\0': return;
      case '&': std::fputs("&amp;", stdout); break;
      case '<': std::fputs("&lt;", stdout); break;
      case '>': std::fputs("&gt;", stdout); break;
      default: std::fputs("&quot;", stdout); break;
    }
    ++s;
  }
}

// Bookmark type: closes and opens folder lists until exactly the folders of
// path (split at '/' and '\\', empty and "." parts left out) are open.
void open_folders(const std::string& path) {
  std::vector<std::string> want;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find_first_of("/\\", start);
    if (end == std::string::npos) end = path.size();
    std::string part = path.substr(start, end - start);
    if (!part.empty() && part != ".") want.push_back(std::move(part));
    start = end + 1;
  }
  std::size_t same = 0;
  while (same < want.size() && same < g_tree.open.size() && want[same] == g_tree.open[same]) ++same;
  for (; g_tree.open.size() > same; g_tree.open.pop_back()) std::fputs("</DL><p>\n", stdout);
  for (std::size_t i = same; i < want.size(); ++i) {
    std::fputs("<DT><H3>", stdout);
    put_escaped(want[i].c_str());
    std::fputs("</H3>\n<DL><p>\n", stdout);
    g_tree.open.push_back(want[i]);
  }
}

// List and comment types: the heading of a new folder, or the top list. The
// files directly in a folder argument always start a list without heading;
// a file argument without a folder joins the list in progress.
void open_list(const std::string& folder, bool walked) {
  if (folder.empty()) {
    if (g_tree.first_list) {
      std::fputs(comment_type() ? "<DL>\n" : "<OL>\n", stdout);
    } else if (walked && !g_tree.folder.empty()) {
      std::fputs(comment_type() ? "</DL><HR>\n<DL>\n" : "</OL><HR>\n<OL>\n", stdout);
      g_tree.folder.clear();
      g_page.entry = 1;
    }
  } else if (folder != g_tree.folder) {
    g_tree.folder = folder;
    if (!g_tree.first_list) std::fputs(comment_type() ? "</DL><HR>\n" : "</OL><HR>\n", stdout);
    std::string heading = folder;
    std::replace(heading.begin(), heading.end(), '\\', '/');
    std::fputs("<H3>[", stdout);
    put_escaped(heading.c_str());
    std::fputs(comment_type() ? "]</H3>\n<DL>\n" : "]</H3>\n<OL>\n", stdout);
    g_page.entry = 1;
  }
  g_tree.first_list = false;
}

// One .url file: its folder's heading, then the link of its first "URL="
// line (read whole) named name. False when the file cannot be opened.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): both calls pass the folder, then the name
bool put_entry(const char* path, const std::string& folder, const std::string& name, bool walked) {
  TextIn in;
  if (!text_open(&in, path)) return false;
  if (bookmark_type()) {
    open_folders(folder);
  } else {
    open_list(folder, walked);
  }
  while (text_getline(&in, &g_tree.line)) {
    if (g_tree.line.compare(0, 4, "URL=") != 0) continue;
    if (!g_tree.line.empty() && g_tree.line.back() == '\n') g_tree.line.pop_back();
    const char* url = g_tree.line.c_str() + 4;
    if (bookmark_type()) {
      std::fputs("<DT><A HREF=\"", stdout);
      put_escaped(url);
      std::fputs("\">", stdout);
      put_escaped(name.c_str());
      std::fputs("</A>\n", stdout);
    } else {
      if (comment_type()) std::printf("<DT>%02d. ", g_page.entry);
      std::fputs(comment_type() ? "<A href=\"" : "<LI><A href=\"", stdout);
      put_escaped(url);
      std::fputs("\">", stdout);
      put_escaped(name.c_str());
      std::fputs(comment_type() ? "</A>\n<DD> \n" : "</A><BR>\n", stdout);
      if (g_page.entry < 2147483647) ++g_page.entry;
    }
    break;
  }
  return true;
}

bool url_file(const char* name) {
  const std::size_t n = std::strlen(name);
  if (n < 4) return false;
  const char* e = name + n - 4;
  return e[0] == '.' && (e[1] | 0x20) == 'u' && (e[2] | 0x20) == 'r' && (e[3] | 0x20) == 'l';
}

// Names of one folder in byte order: at most kBatch files and kBatch
// folders, and whether more were left over.
struct Batch {
  std::vector<std::string> files;
  std::vector<std::string> folders;
  bool more_files = false;
  bool more_folders = false;
};

// Keeps the kBatch smallest names greater than after in a max-heap.
void keep_smallest(std::vector<std::string>* heap, bool* more, const std::string* after, const char* name) {
  if (after != nullptr && std::strcmp(name, after->c_str()) <= 0) return;
  if (heap->size() == kBatch) {
    *more = true;
    if (std::strcmp(name, heap->front().c_str()) >= 0) return;
    std::pop_heap(heap->begin(), heap->end());
    heap->pop_back();
  }
  heap->emplace_back(name);
  std::push_heap(heap->begin(), heap->end());
}

// One read of the folder path: the files (when file_after is not null, those
// after it; "" for all) and the folders (likewise), each in byte order.
bool read_batch(const std::string& path, const std::string* file_after, const std::string* dir_after,
                Batch* b) {
  b->files.clear();
  b->folders.clear();
  b->more_files = b->more_folders = false;
  const bool ok = read_folder(path.c_str(), [&](const char* name, EntryKind kind) {
    if (kind == EntryKind::kFile && file_after != nullptr && url_file(name)) {
      keep_smallest(&b->files, &b->more_files, file_after, name);
    } else if (kind == EntryKind::kFolder && dir_after != nullptr) {
      keep_smallest(&b->folders, &b->more_folders, dir_after, name);
    }
  });
  std::sort_heap(b->files.begin(), b->files.end());
  std::sort_heap(b->folders.begin(), b->folders.end());
  return ok;
}

// A folder the walk is in: its path, and the subfolders still to visit.
struct Level {
  std::size_t path_size;
  std::size_t rel_size;
  std::vector<std::string> folders;
  std::size_t next = 0;
  bool more = false;
};

// Enters the folder path (rel below the argument): its files, and the first
// batch of its subfolders pushed as a new level. False when it cannot be read.
bool enter(const std::string& path, const std::string& rel, std::vector<Level>* levels) {
  const std::string all;
  Batch b;
  if (!read_batch(path, &all, &all, &b)) return false;
  if (bookmark_type()) open_folders(rel);
  Level level{path.size(), rel.size(), std::move(b.folders), 0, b.more_folders};
  for (;;) {
    std::string file = path;
    for (const std::string& name : b.files) {
      file.resize(path.size());
      file.push_back(kPathSep);
      file += name;
      if (!put_entry(file.c_str(), rel, name.substr(0, name.size() - 4), true)) {
        errmsg("%s: cannot read\n", file.c_str());
      }
    }
    if (!b.more_files) break;
    const std::string after = b.files.back();
    if (!read_batch(path, &after, nullptr, &b)) break;
  }
  levels->push_back(std::move(level));
  return true;
}

// Every .url file below the folder arg, depth first in byte order. Memory
// holds the path and, per level on it, one batch of folder names.
void walk(const char* arg) {
  std::string path = arg;
  std::string rel;
  std::vector<Level> levels;
  if (!enter(path, rel, &levels)) {
    errmsg("%s: cannot read folder\n", arg);
    return;
  }
  while (!levels.empty()) {
    Level& top = levels.back();
    path.resize(top.path_size);
    rel.resize(top.rel_size);
    if (top.next == top.folders.size()) {
      if (!top.more || top.folders.empty()) {
        levels.pop_back();
        continue;
      }
      const std::string after = top.folders.back();
      Batch b;
      if (!read_batch(path, nullptr, &after, &b)) b.folders.clear();
      top.folders = std::move(b.folders);
      top.more = b.more_folders;
      top.next = 0;
      continue;
    }
    const std::string& name = top.folders[top.next++];
    path.push_back(kPathSep);
    path += name;
    if (!rel.empty()) rel.push_back('/');
    rel += name;
    if (!enter(path, rel, &levels)) errmsg("%s: cannot read folder\n", path.c_str());
  }
  if (bookmark_type()) open_folders("");
}

}  // namespace

void tree_page_head() {
  g_tree = TreePage{};
  if (bookmark_type()) {
    std::fputs("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
               "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n<TITLE>",
               stdout);
    put_escaped(g_page.title);
    std::fputs("</TITLE>\n<H1>", stdout);
    put_escaped(g_page.title);
    std::fputs("</H1>\n<DL><p>\n", stdout);
    return;
  }
  std::fputs(
      "<HTML>\n"
      "<HEAD>\n"
      "<META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\n"
      "<TITLE>Favorite Links</TITLE>\n"
      "</HEAD>\n"
      "<BODY>\n"
      "<CENTER><H2>",
      stdout);
  put_escaped(g_page.title);
  std::fputs("</H2></CENTER><HR>\n", stdout);
}

void tree_put_arg(const char* arg) {
  if (is_folder(arg)) {
    walk(arg);
    return;
  }
  // A file: the name ends at the last '.', the folder at the last '/' or
  // '\\'. Neither byte occurs inside a UTF-8 character.
  std::string entry = arg;
  const std::size_t dot = entry.rfind('.');
  if (dot != std::string::npos) entry.resize(dot);
  const std::size_t sep = entry.find_last_of("/\\");
  const std::string folder = sep == std::string::npos ? "" : entry.substr(0, sep);
  if (!put_entry(arg, folder, sep == std::string::npos ? entry : entry.substr(sep + 1), false)) {
    errmsg("%s: not found\n", arg);
  }
}

void tree_page_tail() {
  if (bookmark_type()) {
    open_folders("");
    std::fputs("</DL><p>\n", stdout);
    return;
  }
  page_tail();  // the list and comment types end as without -x
}
