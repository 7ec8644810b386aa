#include "shortcut/scan_tree.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "diag/errmsg.h"
#include "shortcut/get_link.h"
#include "shortcut/match.h"
#include "shortcut/refs.h"
#include "shortcut/scan_steps.h"
#include "shortcut/tree_url.h"
#include "support/charset.h"
#include "support/folder.h"
#include "support/names.h"
#include "support/port.h"
#include "support/sjis.h"
#include "support/textio.h"

namespace {

// A list opened by a folder heading; closing it returns to the folder that
// was current before.
// (The members are read through frames.back(), which cppcheck does not follow.)
struct Frame {
  // cppcheck-suppress unusedStructMember
  long long level;  // dl_level inside the list
  // cppcheck-suppress unusedStructMember
  std::size_t folder_size;  // length of the enclosing folder's path
  // cppcheck-suppress unusedStructMember
  bool dead;  // the enclosing folder's entries are passed over
  // cppcheck-suppress unusedStructMember
  bool held;  // the list holds a folder of its own, on top of Folders::held
};

// The first place at or after some position where a text was found (null:
// nowhere up to the end of the line), and that position.
struct Cached {
  const char* from = nullptr;
  char* at = nullptr;
};

// Searches that could run to the end of a line of any length are made at
// most once per stretch of it, so a line of a million broken links is read a
// bounded number of times. Made anew (reset_cache) whenever the text of the
// line changes; the scan position only moves forward, and the cuts the scan
// writes lie behind it.
struct LineCache {
  const char* quotes_to = nullptr;  // quote parity of the line is known up to here
  int parity = 0;
  const char* end_from[2] = {nullptr, nullptr};  // per parity: tag end searched from ...
  char* end_at[2] = {nullptr, nullptr};          // ... and found (null: none)
  Cached close_a;
  Cached close_h3;
};

// What became of the links met (inside the -s folder): the summary line.
struct Counts {
  long long written = 0;
  long long there = 0;
  long long passed = 0;
};

// The folder the links go into, and the heading that names the next one.
struct Folders {
  std::string path;   // the current folder as reports show it ("" the current directory)
  bool dead = false;  // the current folder could not be had
  // The output folder and each folder made or entered below it, the current
  // one last: one per open list that has a folder (the depth, not the size of
  // the tree). Everything is made relative to them, never by path.
  std::vector<Folder> held;
  std::vector<Frame> frames;
  bool pending = false;        // a heading waits for its list
  bool pending_named = false;  // ... and gives a folder of its own
  std::string pending_name;
};

// A link whose start tag or closing tag is not on its line asks for the next
// one: at is its '<'. Once the next line is refused, every link of this line
// is taken as it stands.
struct Join {
  char* at = nullptr;
  bool refused = false;
  int lines = 0;  // lines joined to the current link so far
};

struct Tree {
  explicit Tree(const ShortcutOptions& o) : run(o) {}

  TreeRun run;
  // The file's encoding; run.utf8 follows it: names reach the name steps in
  // UTF-8 unless the file is Shift_JIS.
  Charset charset = Charset::kShiftJis;
  bool declared = false;       // a byte order mark or a META tag has named it
  bool checked = false;        // ... or the whole file has been checked for UTF-8
  const TextIn* in = nullptr;  // the open file, for that check
  SelectMode select_mode = SelectMode::kAll;
  bool in_comment = false;
  long long dl_level = 0;
  bool seen_dl = false;  // a META tag counts only before the first list
  bool dt_open = false;  // a "<DT>" whose entry has not come yet
  Folders folders;
  Counts counts;
  LineCache cache;
  Join join;
  std::string line;  // the line scanned, with the lines joined to it
  std::string url;   // work texts of one link or heading
  std::string text;
  std::string tag;
  std::string converted;  // a caption in UTF-8, from a file of another encoding
};

// The lines of the file without their line ends, the line after the current
// one read ahead when a link asks for it.
struct Lines {
  TextIn* in;
  std::string ahead;
  bool have_ahead = false;
};

// Limits of a link spread over lines: every byte is rescanned at most this
// often, and a link never grows past this size by joining.
constexpr int kJoinLines = 64;
constexpr std::size_t kJoinBytes = std::size_t{1} << 20;

// Where link_steps asks for the next line.
char g_join_mark;
char* const kJoin = &g_join_mark;

// The first closing tag (upper or lower case) at or after p, or null.
template <std::size_t N>
char* find_close(Cached* c, char* p, const char (&upper)[N], const char (&lower)[N]) {
  if (c->from != nullptr && p >= c->from && (c->at == nullptr || p <= c->at)) return c->at;
  char* close = find_tag(p, upper, lower);
  c->from = p;
  c->at = close;
  return close;
}

// tag_end(q) for a q at or after every earlier one on the line. The answer is
// the first '>' after q with an even number of quotes between, so it is the
// same for every q of one quote parity up to that '>'.
char* tag_end_at(LineCache* l, char* q) {
  for (; l->quotes_to < q; ++l->quotes_to) {
    if (*l->quotes_to == '"') l->parity ^= 1;
  }
  const int c = l->parity;
  if (l->end_from[c] == nullptr || q < l->end_from[c] ||
      (l->end_at[c] != nullptr && q >= l->end_at[c])) {
    l->end_from[c] = q;
    l->end_at[c] = tag_end(q);
  }
  return l->end_at[c];
}

// The caches start over: a new line, or the text of the line has changed.
void reset_cache(Tree* t) {
  t->cache = LineCache{};
  t->cache.quotes_to = t->line.data();
}

// The '>' ending the tag whose text starts at p, outside double quotes,
// before limit; or null.
char* tag_close(char* p, const char* limit) {
  bool quoted = false;
  for (; p < limit; ++p) {
    if (*p == '"') quoted = !quoted;
    if (*p == '>' && !quoted) return p;
  }
  return nullptr;
}

void set_charset(Tree* t, Charset c) {
  t->charset = c;
  t->run.utf8 = c != Charset::kShiftJis;
}

// The encoding is needed (for an address or a name): undeclared so far, the
// file is UTF-8 when all of it is, else Shift_JIS. A file declared before its
// first link is never read twice; a META tag after it still counts, as it
// would had the check come first.
void need_charset(Tree* t) {
  if (t->declared || t->checked) return;
  t->checked = true;
  set_charset(t, file_is_utf8(*t->in) ? Charset::kUtf8 : Charset::kShiftJis);
}

// p at "<meta": true when the first charset= of the tag names an encoding
// by a label charset_of_label knows, into *out. The label runs to a quote,
// ';', '/', blank or the tag's end. *next is where scanning goes on: after
// the tag, or the end of the line.
//   CONTENT="text/html; charset=Windows-1251" -> kWindows1251;  charset=utf-16 -> false
bool meta_charset(char* p, char** next, Charset* out) {
  char* gt = std::strchr(p, '>');
  char* end = gt != nullptr ? gt : p + std::strlen(p);
  *next = end;
  for (const char* c = p; c < end; ++c) {
    if (!starts_nocase(c, "charset=")) continue;
    c += 8;
    if (*c == '"' || *c == '\'') ++c;
    const std::size_t n = std::strcspn(c, "\"'; \t/>");
    return charset_of_label(std::string_view(c, n), out);
  }
  return false;
}

// The text between a start tag and the '<' cut at its closing tag: markup
// removed, in UTF-8 when the file's encoding converts, references decoded,
// in t->text.
char* caption_of(Tree* t, const char* start) {
  need_charset(t);
  t->text.resize(std::strlen(start) + 1);
  strip_tags(start, t->text.data());
  if (converts(t->charset)) {
    t->converted.clear();
    charset_to_utf8(t->charset, t->text.c_str(), &t->converted);
    t->text.swap(t->converted);
  }
  decode_refs(t->text.data(), t->run.utf8);
  return t->text.data();
}

// A link that stops the scan (its file could not be written) is passed over
// too: the summary counts every link met.
void count(Counts* n, UrlResult r) {
  if (r == UrlResult::kWritten) {
    ++n->written;
  } else if (r == UrlResult::kThere) {
    ++n->there;
  } else {
    ++n->passed;
  }
}

// A link met where links are written, and not written.
void pass(Tree* t) {
  if (t->select_mode != SelectMode::kWaiting) ++t->counts.passed;
}

// "<A " or "<a ", or "<A" at a tab or the end of the line.
bool link_start(const char* p) {
  return (p[0] == '<' && (p[1] == 'A' || p[1] == 'a') &&
          (p[2] == ' ' || p[2] == '\t' || p[2] == '\0'));
}

// A line may go on with a link when nothing in it before its first "</A>"
// begins another link, entry, heading or list.
bool continues_link(const char* s) {
  for (const char* p = std::strchr(s, '<'); p != nullptr; p = std::strchr(p + 1, '<')) {
    if (starts(p, "</A>", "</a>")) return true;
    if (link_start(p) || starts(p, "<DT", "<dt") || starts(p, "<DD", "<dd") ||
        starts(p, "<DL", "<dl") || starts(p, "</DL", "</dl") || starts(p, "<H3", "<h3")) {
      return false;
    }
  }
  return true;
}

// True when the link at p may ask for the next line.
bool ask_join(Tree* t, char* p) {
  if (t->join.refused) return false;
  t->join.at = p;
  return true;
}

// The URL of the href value at q (its opening double quote, in a tag cut at
// its end) into t->url. False when a script href cannot be made out.
bool href_url(Tree* t, const char* q) {
  // The value's references are decoded before anything looks at it, in a
  // copy of the tag: the quote, the decoded value, the rest of the tag from
  // the value's closing quote (tag_end has met it).
  need_charset(t);
  const char* value_end = std::strchr(q + 1, '"');
  t->tag.assign(q, static_cast<std::size_t>(value_end - q));
  char* tag = t->tag.data();
  t->tag.resize(static_cast<std::size_t>(
      decode_refs(tag + 1, tag + t->tag.size(), t->charset == Charset::kUtf8) - tag));
  if (!script_href(t->tag.c_str())) {
    t->url.assign(t->tag, 1);  // a decoded '"' stays part of the address
  } else {
    t->tag += value_end;
    std::size_t n = 0;
    const char* href = href_text(t->tag.data(), &n);
    if (href == nullptr) return false;
    t->url.assign(href, n);
  }
  // Browsers drop tabs and line breaks from an address; in a .url file a line
  // break would start a line of its own (another IconFile=, say).
  t->url.erase(std::remove_if(t->url.begin(), t->url.end(),
                              [](char c) { return c == '\t' || c == '\r' || c == '\n'; }),
               t->url.end());
  return true;
}

// The time the start tag from p to end (a NUL) gives in its first ADD_DATE
// attribute outside quotes: N seconds since 1970, or N microseconds when N
// has 12 digits or more, as some services export it. 0 when there is none,
// or its value is not a decimal number of at most 18 digits.
//   ADD_DATE="1700000000" -> 1700000000;  add_date=1700000000123456 -> 1700000000
//   ADD_DATE="" "12x" "-5" -> 0
long long added_time(const char* p, const char* end) {
  bool quoted = false;
  for (++p; p < end; ++p) {
    if (*p == '"') quoted = !quoted;
    if (quoted || (p[-1] != ' ' && p[-1] != '\t') || !starts_nocase(p, "add_date=")) continue;
    p += 9;
    const char close = *p == '"' || *p == '\'' ? *p++ : ' ';
    long long n = 0;
    int digits = 0;
    for (; *p >= '0' && *p <= '9' && digits < 18; ++p, ++digits) n = n * 10 + (*p - '0');
    if (digits == 0 || (*p != close && !(close == ' ' && (*p == '\0' || *p == '\t')))) return 0;
    return n >= 100000000000LL ? n / 1000000 : n;
  }
  return 0;
}

// The link in t->url whose caption text starts at cap, added at the time
// added (0: none), where links are written: its file written into the
// current folder, and counted. False when the scan stops. Before the -s
// folder the caption is not even made.
bool write_link(Tree* t, const char* cap, long long added) {
  if (t->select_mode == SelectMode::kWaiting) return true;
  const Folders& f = t->folders;
  const UrlResult r = f.dead
                          ? UrlResult::kPassed
                          : make_tree_url(&t->run, Link{caption_of(t, cap), t->url.c_str(), added},
                                          f.path, f.held.back());
  count(&t->counts, r);
  return r != UrlResult::kStop;
}

// One link, p at its '<'. Gives where scanning goes on, kJoin when the link
// needs the next line, or null when a .url file could not be written.
char* link_steps(Tree* t, char* p) {
  char* r = find_href(p);
  if (*r == '\0' && ask_join(t, p)) return kJoin;
  if (!at_href(r)) return r;
  char* q = r + 5;
  char* gt = tag_end_at(&t->cache, q);
  char* close = gt != nullptr ? find_close(&t->cache.close_a, gt + 1, "</A>", "</a>") : nullptr;
  if (close == nullptr && ask_join(t, p)) return kJoin;
  t->dt_open = false;
  if (gt == nullptr) {
    errmsg("[%s]: tag not closed\n", q);
    pass(t);
    return q + 1;
  }
  *gt = '\0';
  if (!href_url(t, q)) {
    pass(t);
    return gt + 1;  // the links after this tag are still read
  }
  char* cap = gt + 1;
  if (close == nullptr) {
    errmsg("\"%s\": link tag not closed for the link of \"%s\"\n", cap, t->url.c_str());
    pass(t);
    return cap;
  }
  *close = '\0';
  return write_link(t, cap, added_time(p, gt)) ? close + 1 : nullptr;
}

// True when a top-level heading is the -s folder: as it stands, or, in a
// Shift_JIS file, in the UTF-8 form its folder name takes.
bool selects(const Tree& t, const char* caption) {
  const char* select = t.run.options.select;
  if (std::strcmp(caption, select) == 0) return true;
  if (t.run.utf8) return false;
  std::string name;
  cp932_to_utf8(caption, &name);
  return name == select;
}

// A heading "<H3 ...>caption</H3>", p at its '<'. After a "<DT>" it names a
// folder: the one to select, or the one the next list makes.
char* heading_steps(Tree* t, char* p) {
  char* close = find_close(&t->cache.close_h3, p + 3, "</H3>", "</h3>");
  if (close == nullptr) return p + 3;
  char* gt = tag_close(p + 3, close);
  if (gt == nullptr) return close + 5;  // a broken heading is passed over whole
  *close = '\0';
  if (!t->dt_open) return close + 1;
  t->dt_open = false;
  char* caption = caption_of(t, gt + 1);
  Folders& f = t->folders;
  if (t->select_mode == SelectMode::kWaiting) {
    if (t->dl_level == 1 && selects(*t, caption)) {
      t->select_mode = SelectMode::kInside;
      f.pending = true;
      f.pending_named = false;  // its list is the output folder itself
    }
  } else {
    f.pending = true;
    f.pending_name.clear();
    f.pending_named = folder_name(t->run, caption, &f.pending_name);
  }
  return close + 1;
}

// A list opens: a pending heading's folder becomes the current one. False
// when the disk is full: the scan stops, as it does when a file cannot be
// written.
bool open_list(Tree* t) {
  ++t->dl_level;
  t->seen_dl = true;
  t->dt_open = false;
  Folders& f = t->folders;
  if (!f.pending) return true;
  f.pending = false;
  f.frames.push_back(Frame{t->dl_level, f.path.size(), f.dead, false});
  if (f.dead || !f.pending_named) return true;
  if (!f.path.empty()) f.path.push_back(kPathSep);
  f.path += f.pending_name;
  Folder made;
  switch (make_folder(f.held.back(), f.pending_name.c_str(), &made)) {
    case FolderResult::kReady:
      f.held.push_back(std::move(made));
      f.frames.back().held = true;
      return true;
    case FolderResult::kNotFolder: errmsg("\"%s\": not a folder\n", f.path.c_str()); break;
    case FolderResult::kFailed: errmsg("\"%s\": cannot create folder\n", f.path.c_str()); break;
    case FolderResult::kNoSpace:
      errmsg("no free disk space\n");
      errmsg("\"%s\": cannot create folder\n", f.path.c_str());
      return false;
  }
  f.dead = true;
  return true;
}

// A list closes. True when it ends the selected folder, and the scan.
bool close_list(Tree* t) {
  Folders& f = t->folders;
  if (!f.frames.empty() && f.frames.back().level == t->dl_level) {
    f.path.resize(f.frames.back().folder_size);
    f.dead = f.frames.back().dead;
    if (f.frames.back().held) f.held.pop_back();
    f.frames.pop_back();
  }
  --t->dl_level;
  f.pending = false;
  t->dt_open = false;
  return t->select_mode == SelectMode::kInside && t->dl_level == 1;
}

// How the scan of one line ended: at its end, at a link that asks for the
// next line (t->join.at), at the end of the selected folder, or at a file or
// folder that could not be written.
enum class LineEnd { kNext, kJoinNext, kSelectedEnd, kStop };

// The tag loop over one line from p.
LineEnd scan_line(Tree* t, char* p) {
  while ((p = next_tag(p, &t->in_comment)) != nullptr) {
    if (link_start(p)) {
      p = link_steps(t, p);
      if (p == nullptr) return LineEnd::kStop;
      if (p == kJoin) return LineEnd::kJoinNext;
    } else if (starts(p, "<DL>", "<dl>")) {
      if (!open_list(t)) return LineEnd::kStop;
      p += 4;
    } else if (starts(p, "</DL>", "</dl>")) {
      p += 5;
      if (close_list(t)) return LineEnd::kSelectedEnd;
    } else if (starts(p, "<DT>", "<dt>")) {
      t->dt_open = true;
      p += 4;
    } else if (starts(p, "<H3", "<h3") && (p[3] == '>' || p[3] == ' ' || p[3] == '\t')) {
      p = heading_steps(t, p);
    } else if (!t->seen_dl && !t->declared && starts_nocase(p, "<meta")) {
      Charset c = Charset::kShiftJis;
      t->declared = meta_charset(p, &p, &c);
      if (t->declared) set_charset(t, c);
    } else {
      ++p;
    }
  }
  return LineEnd::kNext;
}

// The next line of the file into *line. False at the end of the file.
bool take_line(Lines* src, std::string* line) {
  if (src->have_ahead) {
    line->swap(src->ahead);
    src->have_ahead = false;
    return true;
  }
  if (!text_getline(src->in, line)) return false;
  if (!line->empty() && line->back() == '\n') line->pop_back();
  return true;
}

// Reads the line after the current one ahead, once. False when there is none.
bool peek_line(Lines* src) {
  if (!src->have_ahead && text_getline(src->in, &src->ahead)) {
    if (!src->ahead.empty() && src->ahead.back() == '\n') src->ahead.pop_back();
    src->have_ahead = true;
  }
  return src->have_ahead;
}

// The link at t->join.at asks for the next line. When that line may go on
// with it (and the limits allow), the link and the next line become the line
// scanned, the line break and the blanks around it read as one blank, as a
// browser shows them. Gives where the scan goes on: the link.
char* join_next_line(Tree* t, Lines* src) {
  const auto at = static_cast<std::size_t>(t->join.at - t->line.data());
  if (!peek_line(src) || t->join.lines == kJoinLines ||
      t->line.size() - at + src->ahead.size() >= kJoinBytes ||
      !continues_link(src->ahead.c_str())) {
    t->join.refused = true;  // taken as it stands; the next line is scanned on its own
    return t->join.at;
  }
  // The scan never reads past a NUL byte: neither may the joined text.
  t->line.erase(0, at);
  t->line.resize(std::strlen(t->line.c_str()));
  t->line.erase(t->line.find_last_not_of(" \t") + 1);
  t->line.push_back(' ');
  const std::size_t lead = src->ahead.find_first_not_of(" \t");
  if (lead != std::string::npos) t->line.append(src->ahead, lead);
  src->have_ahead = false;
  ++t->join.lines;
  reset_cache(t);  // the text has changed: nothing found in it stands
  return t->line.data();
}

// Scans every line of the file, joining lines for a link that asks. 0 at the
// end of the file or of the selected folder, -1 when a file or folder could
// not be written.
int scan_lines(Tree* t, TextIn* in) {
  Lines src{in, std::string(), false};
  for (bool first = true; take_line(&src, &t->line); first = false) {
    char* p = t->line.data();
    if (first && has(p, "\xEF\xBB\xBF")) {
      set_charset(t, Charset::kUtf8);
      t->declared = true;
      p += 3;
    }
    t->join = Join{};
    reset_cache(t);
    LineEnd end = LineEnd::kNext;
    while ((end = scan_line(t, p)) == LineEnd::kJoinNext) p = join_next_line(t, &src);
    if (end == LineEnd::kStop) return -1;
    if (end == LineEnd::kSelectedEnd) return 0;
  }
  return 0;
}

int clamp(long long n) { return n > 2147483647LL ? 2147483647 : static_cast<int>(n); }

}  // namespace

int scan_tree(const char* html, const ShortcutOptions& o) {
  TextIn in;
  const TextOpen opened = text_open_regular(&in, html);
  if (opened != TextOpen::kOpened) {
    if (opened == TextOpen::kNotRegular) {
      errmsg("%s: not a regular file\n", html);
    } else {
      errmsg("%s: not found\n", html);
    }
    return -1;
  }
  Tree t(o);
  t.in = &in;
  t.select_mode = o.select[0] == '\0' ? SelectMode::kAll : SelectMode::kWaiting;
  t.folders.path = o.outdir;
  // The one folder opened by its path. When it cannot be, nothing below it
  // can be made either, and each file reports so.
  t.folders.held.emplace_back();
  open_folder(o.outdir[0] != '\0' ? o.outdir : ".", FolderUse::kMake, &t.folders.held.back());
  const int result = scan_lines(&t, &in);
  errmsg("%d written, %d already there, %d passed over\n", clamp(t.counts.written),
         clamp(t.counts.there), clamp(t.counts.passed));
  return result;
}
