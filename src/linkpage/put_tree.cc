#include "linkpage/put_tree.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "diag/errmsg.h"
#include "linkpage/markup.h"
#include "support/folder.h"
#include "support/folder_chain.h"
#include "support/port.h"
#include "support/sjis.h"
#include "support/textio.h"
#include "support/utf7.h"

namespace {

// Where a line of a .url file stands: in the section its last header names
// (any ASCII case, nothing else on the line, as Windows reads a section
// name), or in any other. The property sections are those of the
// Description (property 21 of the first set) and of the Keywords (property
// 5 of the summary set); each ".W" twin holds its values in UTF-7.
enum class Section { kOther, kUrlWide, kDescription, kDescriptionWide, kTags, kTagsWide };

// (section is read through find_if, which cppcheck does not follow.)
struct Header {
  std::string_view name;
  // cppcheck-suppress unusedStructMember
  Section section;
};
constexpr Header kHeaders[] = {
    {"[InternetShortcut.W]", Section::kUrlWide},
    {"[{5CBF2787-48CF-4208-B90E-EE5E5D420294}]", Section::kDescription},
    {"[{5CBF2787-48CF-4208-B90E-EE5E5D420294}.W]", Section::kDescriptionWide},
    {"[{F29F85E0-4FF9-1068-AB91-08002B27B3D9}]", Section::kTags},
    {"[{F29F85E0-4FF9-1068-AB91-08002B27B3D9}.W]", Section::kTagsWide},
};

// The lines of a .url file that are read, each kept from the first line of
// its key in its section: kPlain stands for any section but
// [InternetShortcut.W]. A row's index is its slot in g_buf; each UTF-7 value
// comes just before the value it stands in for.
enum Slot { kUrlWide, kUrl, kDescriptionWide, kDescription, kTagsWide, kTags, kIcon, kSlots };
constexpr Section kPlain = Section::kOther;
struct Key {
  std::string_view key;
  Section section;
  bool wide;  // the value is UTF-7, kept decoded
};
constexpr Key kKeys[kSlots] = {
    {"URL=", Section::kUrlWide, true},
    {"URL=", kPlain, false},
    {"Prop21=31,", Section::kDescriptionWide, true},
    {"Prop21=31,", Section::kDescription, false},
    {"Prop5=31,", Section::kTagsWide, true},
    {"Prop5=31,", Section::kTags, false},
    {"IconFile=", kPlain, false},
};

// A value kept: taken once the first line of its key was read; usable when
// taken and, for a UTF-7 value, not empty and decoded (no control character).
struct Kept {
  std::string text;
  bool taken = false;
  bool usable = false;
};

// The buffers of read_shortcut, kept from file to file: the line read and
// the values kept.
struct ShortcutBuffers {
  std::string line;
  std::array<Kept, kSlots> kept;
};
ShortcutBuffers g_buf;

// The start of a line that tells what it is: a key, or the longest header
// with its line end.
constexpr std::size_t kHead = sizeof "[{F29F85E0-4FF9-1068-AB91-08002B27B3D9}.W]\r\n" - 1;

// Drops the line end: the LF, then a CR before it or at the end of the file
// (the last line of a file written by hand).   "a\r\n" read as "a\n" -> "a";  "a\r" -> "a"
void drop_line_end(std::string* line) {
  if (!line->empty() && line->back() == '\n') line->pop_back();
  if (!line->empty() && line->back() == '\r') line->pop_back();
}

// The section a header line (without its line end) starts.
Section section_of(const std::string& line) {
  const auto* h = std::find_if(std::begin(kHeaders), std::end(kHeaders),
                               [&line](const Header& k) { return equal_nocase(line, k.name); });
  return h != std::end(kHeaders) ? h->section : Section::kOther;
}

// The slot a line in section s is read into, by its start; kSlots when it is
// not read (another key, or one whose first line was read).
std::size_t slot_of(Section s, const std::string& line) {
  for (std::size_t i = 0; i < kSlots; ++i) {
    const Key& k = kKeys[i];
    const bool here = k.section == s || (k.section == kPlain && s != Section::kUrlWide);
    if (!here || line.compare(0, k.key.size(), k.key) != 0) continue;
    return g_buf.kept[i].taken ? std::size_t{kSlots} : i;
  }
  return kSlots;
}

// Keeps the value of the whole line (line end dropped) in its slot: as it
// stands, or decoded from UTF-7. The line's buffer is taken, not copied.
void keep(std::size_t slot, std::string* line) {
  Kept& v = g_buf.kept[slot];
  const std::size_t n = kKeys[slot].key.size();
  v.taken = true;
  if (kKeys[slot].wide) {
    v.usable = line->size() > n && utf7_to_utf8(std::string_view(*line).substr(n), &v.text);
  } else {
    v.text.swap(*line);
    v.text.erase(0, n);
    v.usable = true;
  }
}

// The value of the UTF-7 slot wide and the one after it: the UTF-7 one when
// usable, else the other when taken (and, unless empty_counts, not empty);
// null for none.
const char* value_of(Slot wide, bool empty_counts) {
  const Kept& w = g_buf.kept[wide];
  const Kept& p = g_buf.kept[static_cast<std::size_t>(wide) + 1];
  if (w.usable) return w.text.c_str();
  return p.taken && (empty_counts || !p.text.empty()) ? p.text.c_str() : nullptr;
}

// What the open .url file holds for the page, read once to its end by the
// start of each line: only the lines of kKeys are held, each as long as it
// is; every other line is looked at by its first kHead bytes and passed
// over. The address: the first "URL=" value of the [InternetShortcut.W]
// section decoded from UTF-7, else (no such section or line, or a value that
// is empty or does not decode) the first "URL=" value outside that section,
// wherever the two stand; null when neither serves. The description and the
// tags likewise from their sections, null when empty. The icon: the first
// "IconFile=" value outside the .W section when it starts "http:" or
// "https:" (any case). Any other line beginning with '[' ends a section.
// Points into buffers that the next call overwrites.
LinkText read_shortcut(TextIn* in) {
  std::string& line = g_buf.line;
  for (Kept& v : g_buf.kept) v.taken = v.usable = false;
  Section section = Section::kOther;
  for (;;) {
    line.clear();
    if (!text_readon(in, &line, kHead)) break;
    const bool whole = line.back() == '\n' || line.size() < kHead;
    const std::size_t slot = slot_of(section, line);
    if (slot < kSlots) {
      if (!whole) text_readon(in, &line, std::string::npos);
      drop_line_end(&line);
      keep(slot, &line);
      continue;
    }
    if (line[0] == '[') {
      drop_line_end(&line);
      section = whole ? section_of(line) : Section::kOther;
    }
    if (!whole) text_skipline(in);
  }
  const Kept& icon = g_buf.kept[kIcon];
  const bool web =
      starts_nocase(icon.text.c_str(), "http:") || starts_nocase(icon.text.c_str(), "https:");
  return LinkText{value_of(kUrlWide, true), icon.taken && web ? icon.text.c_str() : nullptr,
                  value_of(kDescriptionWide, false), value_of(kTagsWide, false)};
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
  // The link of the open .url file in, named name.
  void (*link)(LinkPage* page, const TextIn& in, const LinkText& link, const char* name);
  void (*foot)(LinkPage* page);
};

// The markup routines in the shape of the rows below.
void list_head(LinkPage* page) { put_head(*page, "UTF-8"); }
void list_link(LinkPage* page, const TextIn& /*in*/, const LinkText& link, const char* name) {
  put_item(page, link, name);
}
void list_foot(LinkPage* page) { put_foot(*page); }
void no_heading(LinkPage* /*page*/, const std::string& /*rel*/) {}
void bookmark_head_row(LinkPage* page) { bookmark_head(*page); }
void bookmark_file_folder(LinkPage* page, const std::string& folder, Found /*found*/) {
  bookmark_folders(page, folder);
}
void bookmark_link(LinkPage* page, const TextIn& in, const LinkText& link, const char* name) {
  bookmark_item(*page, link, name, text_mtime(in));
}

// The TAGS of a link in a bookmark file without folders: the folders of its
// path (folder_parts) from the top down, each ',' and control byte in their
// names a blank, then its own tags split at ',', empty items left out; a tag
// equal byte for byte to one before it is left out. Empty for none.
//   "News/a,b", "x,,News,y" -> "News,a b,x,y";  "", "a" -> "a";  "", null -> ""
std::string folder_tags(const std::string& path, const char* own) {
  std::vector<std::string> tags;
  const auto add = [&tags](std::string tag) {
    if (!tag.empty() && std::find(tags.begin(), tags.end(), tag) == tags.end()) {
      tags.push_back(std::move(tag));
    }
  };
  for (std::string folder : folder_parts(path)) {
    std::replace(folder.begin(), folder.end(), ',', ' ');
    blank_controls(&folder);
    add(std::move(folder));
  }
  for (std::string_view rest = own != nullptr ? own : ""; !rest.empty();) {
    const std::size_t comma = std::min(rest.find(','), rest.size());
    add(std::string(rest.substr(0, comma)));
    rest.remove_prefix(std::min(comma + 1, rest.size()));
  }
  std::string joined;
  for (const std::string& tag : tags) {
    if (!joined.empty()) joined.push_back(',');
    joined += tag;
  }
  return joined;
}

// Bookmark type without folders: the folder of the next links is kept for
// their tags.
void tag_file_folder(LinkPage* page, const std::string& folder, Found /*found*/) {
  page->folder = folder;
}
void tag_link(LinkPage* page, const TextIn& in, const LinkText& link, const char* name) {
  const std::string tags = folder_tags(page->folder, link.tags);
  LinkText tagged = link;
  tagged.tags = tags.empty() ? nullptr : tags.c_str();
  bookmark_item(*page, tagged, name, text_mtime(in));
}

// List and comment types: a heading and a list per folder of entries; a
// folder without entries shows nothing.
constexpr TreeWriter kListWriter{list_head, no_heading, list_for, list_link, list_foot};

// Bookmark type: folders nested as on disk, empty ones too; a link dated by
// its file's last write.
constexpr TreeWriter kBookmarkWriter{bookmark_head_row, bookmark_folders, bookmark_file_folder,
                                     bookmark_link, bookmark_foot};

// Bookmark type with folders as tags: one list, each link tagged with its
// folders (folder_tags).
constexpr TreeWriter kTagWriter{bookmark_head_row, no_heading, tag_file_folder, tag_link,
                                bookmark_foot};

// The writer of each format type; any other is list type.
constexpr const TreeWriter* kWriters[] = {&kListWriter, &kListWriter, &kBookmarkWriter,
                                          &kTagWriter};

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
  LinkText link{nullptr};
  try {
    link = read_shortcut(&in);
  } catch (const std::bad_alloc&) {
    g_buf = ShortcutBuffers{};  // what the lines took is given back
    return UrlRead::kNoMemory;
  }
  if (text_failed(in)) return UrlRead::kReadError;
  if (link.url != nullptr) t->writer.link(&t->page, in, link, name);
  return UrlRead::kRead;
}

// Reports a .url file that put_url_file did not read, shown as path; the
// rest goes on. One that could not be read whole fails the run.
void report_url(TreePage* t, UrlRead got, const char* path, Found found) {
  switch (got) {
    case UrlRead::kRead: break;
    case UrlRead::kNotRegular: errmsg_whole("%s: not a regular file\n", path); break;
    case UrlRead::kNotFound:
      if (found == Found::kByWalk) {
        errmsg_whole("%s: cannot read\n", path);
      } else {
        errmsg_whole("%s: not found\n", path);
      }
      break;
    case UrlRead::kReadError:
      errmsg_whole("\"%s\": read error\n", path);
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
    const UrlRead got = file.file
                            ? put_url_file(t, &f, name.c_str(), rel, entry.c_str(), Found::kByWalk)
                            : UrlRead::kNotRegular;
    if (got == UrlRead::kRead) continue;
    std::string at = path;
    join_shown_path(&at, name);
    report_url(t, got, at.c_str(), Found::kByWalk);
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
  report_url(t, put_url_file(t, nullptr, arg, folder, name, Found::kAsArgument), arg,
             Found::kAsArgument);
}

}  // namespace

bool put_tree_page(const LinkPageOptions& options, std::span<char*> args) {
  // Format type 2 makes a bookmark file, 3 one without folders, any other a
  // page of lists.
  const bool listed = options.format >= 0 && options.format < std::ssize(kWriters);
  TreePage t{LinkPage(options), listed ? *kWriters[options.format] : kListWriter};
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
