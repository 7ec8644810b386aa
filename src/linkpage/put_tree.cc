#include "linkpage/put_tree.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "diag/errmsg.h"
#include "linkpage/markup.h"
#include "linkpage/utf7.h"
#include "support/names.h"
#include "support/port.h"
#include "support/textio.h"

namespace {

// Names read from one folder at a time: a walk holds at most this many
// names per level, however large the folder.
constexpr std::size_t kBatch = 4096;

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
bool wide_header(const std::string& line) {
  constexpr std::string_view kHeader = "[InternetShortcut.W]";
  if (line.size() != kHeader.size()) return false;
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c; };
  for (std::size_t i = 0; i < kHeader.size(); ++i) {
    if (lower(line[i]) != lower(kHeader[i])) return false;
  }
  return true;
}

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

// One .url file: its folder's heading, then the link of its address (read
// whole) named name; a bookmark file dates it by the file's last write.
// False when the file cannot be opened.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): both calls pass the folder, then the name
bool put_entry(const char* path, const std::string& folder, const std::string& name, bool walked) {
  TextIn in;
  if (!text_open(&in, path)) return false;
  if (bookmark_type()) {
    bookmark_folders(folder);
  } else {
    list_for(folder, walked);
  }
  const char* url = shortcut_address(&in);
  if (url == nullptr) return true;
  if (bookmark_type()) {
    bookmark_item(url, name.c_str(), text_mtime(in));
  } else {
    put_item(url, name.c_str());
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
void keep_smallest(std::vector<std::string>* heap, bool* more, const std::string* after,
                   const char* name) {
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
bool read_batch(const std::string& path, const std::string* file_after,
                const std::string* dir_after, Batch* b) {
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
  if (bookmark_type()) bookmark_folders(rel);
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
    bookmark_foot();
  } else {
    put_foot();
  }
}
