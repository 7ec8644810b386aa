#include "shortcut/scan_tree.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "diag/errmsg.h"
#include "shortcut/get_link.h"
#include "shortcut/join_lines.h"
#include "shortcut/line_cache.h"
#include "shortcut/match.h"
#include "shortcut/refs.h"
#include "shortcut/scan_steps.h"
#include "shortcut/tree_folders.h"
#include "shortcut/tree_url.h"
#include "support/charset.h"
#include "support/folder.h"
#include "support/sjis.h"
#include "support/textio.h"
#include "support/utf8.h"

namespace {

// What became of the links met (inside the -s folder): the summary line.
struct Counts {
  long long written = 0;
  long long there = 0;
  long long passed = 0;
};

// Where the scan stands in the file's markup.
struct Markup {
  SelectMode select_mode = SelectMode::kAll;
  bool in_comment = false;
  long long dl_level = 0;
  bool seen_dl = false;  // a META tag counts only before the first list
  bool dt_open = false;  // a "<DT>" whose entry has not come yet
};

// The texts one link or heading is made of, kept from one to the next so
// that their room is reused.
struct LinkTexts {
  std::string url;
  std::string text;       // a caption
  std::string tag;        // an href value with its references decoded
  std::string converted;  // a caption in UTF-8, from a file of another encoding
};

// One scan of a bookmark file: the lines read, where the scan stands, the
// folders it writes into and the writer's run.
struct TreeScan {
  TreeScan(const ShortcutOptions& o, TextIn* in)
      : run(o), charset(*in, o.charset), lines(in), folders(o.outdir) {}

  TreeRun run;  // run.utf8 follows charset once it is needed
  CharsetGuess charset;
  JoinedLines lines;
  std::string line;  // the line scanned, with the lines joined to it
  LineCache cache;
  Markup at;
  TreeFolders folders;
  Counts counts;
  LinkTexts texts;
};

// What the scan of one link gave: go on after it, the next line joined to it
// first, or stop (its file could not be written).
enum class LinkEnd { kGoOn, kJoinNext, kStop };

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

// The file's encoding, needed for an address or a name. Names reach the name
// steps in UTF-8 unless the file is Shift_JIS.
Charset need_charset(TreeScan* t) {
  const Charset c = t->charset.need();
  t->run.utf8 = c != Charset::kShiftJis;
  return c;
}

// The text between a start tag and the '<' cut at its closing tag: markup
// removed, in UTF-8 when the file's encoding converts (made valid when it is
// UTF-8), references decoded, in t->texts.text.
char* caption_of(TreeScan* t, const char* start) {
  const Charset c = need_charset(t);
  LinkTexts& w = t->texts;
  w.text.resize(std::strlen(start) + 1);
  strip_tags(start, w.text.data());
  const bool bad_utf8 = c == Charset::kUtf8 && !is_utf8(w.text.c_str());
  if (converts(c) || bad_utf8) {
    // A file declared UTF-8 may hold bytes that are not: each is U+FFFD.
    w.converted.clear();
    if (bad_utf8) {
      valid_utf8(w.text.c_str(), &w.converted);
    } else {
      charset_to_utf8(c, w.text.c_str(), &w.converted);
    }
    w.text.swap(w.converted);
  }
  decode_refs(w.text.data(), t->run.utf8);
  return w.text.data();
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
void pass(TreeScan* t) {
  if (t->at.select_mode != SelectMode::kWaiting) ++t->counts.passed;
}

// The URL of the href value at q (its opening double quote, in a tag cut at
// its end) into t->texts.url. False when a script href cannot be made out.
bool href_url(TreeScan* t, const char* q) {
  // The value's references are decoded before anything looks at it, in a
  // copy of the tag: the quote, the decoded value, the rest of the tag from
  // the value's closing quote (tag_end has met it).
  const Charset c = need_charset(t);
  LinkTexts& w = t->texts;
  const char* value_end = std::strchr(q + 1, '"');
  w.tag.assign(q, static_cast<std::size_t>(value_end - q));
  char* tag = w.tag.data();
  w.tag.resize(static_cast<std::size_t>(
      decode_refs(tag + 1, tag + w.tag.size(), c == Charset::kUtf8) - tag));
  if (!script_href(w.tag.c_str())) {
    w.url.assign(w.tag, 1);  // a decoded '"' stays part of the address
  } else {
    w.tag += value_end;
    std::size_t n = 0;
    const char* href = href_text(w.tag.data(), &n);
    if (href == nullptr) return false;
    w.url.assign(href, n);
  }
  // Browsers drop tabs and line breaks from an address; in a .url file a line
  // break would start a line of its own (another IconFile=, say).
  w.url.erase(std::remove_if(w.url.begin(), w.url.end(),
                             [](char ch) { return ch == '\t' || ch == '\r' || ch == '\n'; }),
              w.url.end());
  return true;
}

// The link in t->texts.url whose caption text starts at cap, added at the
// time added (0: none), where links are written: its file written into the
// current folder, and counted. False when the scan stops. Before the -s
// folder the caption is not even made.
bool write_link(TreeScan* t, const char* cap, long long added) {
  if (t->at.select_mode == SelectMode::kWaiting) return true;
  TreeFolders& f = t->folders;
  const UrlResult r =
      !f.ready() ? UrlResult::kPassed
                 : make_tree_url(&t->run, Link{caption_of(t, cap), t->texts.url.c_str(), added},
                                 f.path(), f.current());
  count(&t->counts, r);
  return r != UrlResult::kStop;
}

// One link, *p at its '<'; *p becomes where scanning goes on after it.
LinkEnd tree_link(TreeScan* t, char** p) {
  char* const lt = *p;
  char* r = find_href(lt);
  if (*r == '\0' && t->lines.may_ask(lt)) return LinkEnd::kJoinNext;
  *p = r;
  if (!at_href(r)) return LinkEnd::kGoOn;
  char* q = r + 5;
  char* gt = t->cache.tag_end_at(q);
  char* close = gt != nullptr ? t->cache.close_a(gt + 1) : nullptr;
  if (close == nullptr && t->lines.may_ask(lt)) return LinkEnd::kJoinNext;
  t->at.dt_open = false;
  if (gt == nullptr) {
    errmsg("[%s]: tag not closed\n", q);
    pass(t);
    *p = q + 1;
    return LinkEnd::kGoOn;
  }
  *gt = '\0';
  *p = gt + 1;  // the links after this tag are still read
  if (!href_url(t, q)) {
    pass(t);
    return LinkEnd::kGoOn;
  }
  if (close == nullptr) {
    errmsg("\"%s\": link tag not closed for the link of \"%s\"\n", gt + 1, t->texts.url.c_str());
    pass(t);
    return LinkEnd::kGoOn;
  }
  *close = '\0';
  *p = close + 1;
  return write_link(t, gt + 1, added_time(lt, gt)) ? LinkEnd::kGoOn : LinkEnd::kStop;
}

// True when a top-level heading is the -s folder: as it stands, or, in a
// Shift_JIS file, in the UTF-8 form its folder name takes.
bool selects(const TreeScan& t, const char* caption) {
  const char* select = t.run.options.select;
  if (std::strcmp(caption, select) == 0) return true;
  if (t.run.utf8) return false;
  std::string name;
  cp932_to_utf8(caption, &name);
  return name == select;
}

// A heading "<H3 ...>caption</H3>", p at its '<'. After a "<DT>" it names a
// folder: the one to select, or the one the next list makes.
char* heading_steps(TreeScan* t, char* p) {
  char* close = t->cache.close_h3(p + 3);
  if (close == nullptr) return p + 3;
  char* gt = tag_close(p + 3, close);
  if (gt == nullptr) return close + 5;  // a broken heading is passed over whole
  *close = '\0';
  if (!t->at.dt_open) return close + 1;
  t->at.dt_open = false;
  char* caption = caption_of(t, gt + 1);
  if (t->at.select_mode != SelectMode::kWaiting) {
    t->folders.await_heading(t->run, caption);
  } else if (t->at.dl_level == 1 && selects(*t, caption)) {
    t->at.select_mode = SelectMode::kInside;
    t->folders.await_selected();
  }
  return close + 1;
}

// A list opens. False when the scan stops (the disk is full).
bool open_list(TreeScan* t) {
  ++t->at.dl_level;
  t->at.seen_dl = true;
  t->at.dt_open = false;
  return t->folders.open_list(&t->run, t->at.dl_level);
}

// A list closes. True when it ends the selected folder, and the scan.
bool close_list(TreeScan* t) {
  t->folders.close_list(t->at.dl_level);
  --t->at.dl_level;
  t->at.dt_open = false;
  return t->at.select_mode == SelectMode::kInside && t->at.dl_level == 1;
}

// A META tag at p: the encoding a charset label in it names is declared.
// Its end is its first '>' outside double quotes, as a link's is, since
// another attribute may hold a '>' in quotes; where its quotes do not pair,
// its first '>'; with none, the end of the line. Gives that end.
char* meta_steps(TreeScan* t, char* p) {
  char* end = tag_end(p);
  if (end == nullptr) end = std::strchr(p, '>');
  if (end == nullptr) end = p + std::strlen(p);
  Charset c = Charset::kShiftJis;
  if (meta_charset(p, end, &c)) t->charset.declare(c);
  return end;
}

// How the scan of one line ended: at its end, at a link that asks for the
// next line, at the end of the selected folder, or at a file or folder that
// could not be written.
enum class LineEnd { kNext, kJoinNext, kSelectedEnd, kStop };

// The tag loop over one line from p.
LineEnd scan_line(TreeScan* t, char* p) {
  while ((p = next_tag(p, &t->at.in_comment)) != nullptr) {
    if (link_start(p)) {
      const LinkEnd end = tree_link(t, &p);
      if (end == LinkEnd::kStop) return LineEnd::kStop;
      if (end == LinkEnd::kJoinNext) return LineEnd::kJoinNext;
    } else if (starts(p, "<DL>", "<dl>")) {
      if (!open_list(t)) return LineEnd::kStop;
      p += 4;
    } else if (starts(p, "</DL>", "</dl>")) {
      p += 5;
      if (close_list(t)) return LineEnd::kSelectedEnd;
    } else if (starts(p, "<DT>", "<dt>")) {
      t->at.dt_open = true;
      p += 4;
    } else if (starts(p, "<H3", "<h3") && (p[3] == '>' || p[3] == ' ' || p[3] == '\t')) {
      p = heading_steps(t, p);
    } else if (!t->at.seen_dl && !t->charset.declared() && starts_nocase(p, "<meta")) {
      p = meta_steps(t, p);
    } else {
      ++p;
    }
  }
  return LineEnd::kNext;
}

// Scans every line of the file, joining lines for a link that asks. 0 at the
// end of the file or of the selected folder, -1 when a file or folder could
// not be written.
int scan_lines(TreeScan* t) {
  for (bool first = true; t->lines.next(&t->line); first = false) {
    char* p = t->line.data();
    if (first) p = t->charset.after_bom(p);
    t->cache.reset(t->line.data());
    LineEnd end = LineEnd::kNext;
    while ((end = scan_line(t, p)) == LineEnd::kJoinNext) {
      // A joined text is new: nothing found in the line before stands.
      if (t->lines.join(&t->line, &p) == Joined::kJoined) t->cache.reset(t->line.data());
    }
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
  TreeScan t(o, &in);
  t.at.select_mode = o.select[0] == '\0' ? SelectMode::kAll : SelectMode::kWaiting;
  int result = 0;
  // A line longer than memory (or a link of one) stops the scan between two
  // files: each file written before is whole, and counted.
  try {
    result = scan_lines(&t);
  } catch (const std::bad_alloc&) {
    errmsg("cannot get memory\n");
    result = kScanNotWhole;
  }
  if (text_failed(in)) {
    errmsg("\"%s\": read error\n", html);
    result = kScanNotWhole;
  }
  errmsg("%d written, %d already there, %d passed over\n", clamp(t.counts.written),
         clamp(t.counts.there), clamp(t.counts.passed));
  return result;
}
