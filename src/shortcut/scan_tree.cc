#include "shortcut/scan_tree.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include "diag/errmsg.h"
#include "shortcut/get_link.h"
#include "shortcut/join_lines.h"
#include "shortcut/line_cache.h"
#include "shortcut/match.h"
#include "shortcut/refs.h"
#include "shortcut/scan_json.h"
#include "shortcut/scan_steps.h"
#include "shortcut/tree_steps.h"
#include "support/charset.h"
#include "support/folder.h"
#include "support/sjis.h"
#include "support/textio.h"
#include "support/utf8.h"

namespace {

// Where the scan stands in the file's markup.
struct Markup {
  bool in_comment = false;
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

// A link read whole whose file is not written yet: a description may follow
// it, over lines, and the file is written once the next entry starts (or
// the list or the file ends). Its texts are reused from link to link.
struct HeldLink {
  bool held = false;
  std::string caption;  // as caption_of gives it
  std::string url;
  long long added = 0;
  std::string icon;  // its ICON_URI when that is http: or https:, else empty
  std::string tags;
  bool in_description = false;  // its <DD> has started
  std::string description;      // the text read from its <DD> on, markup and all
  const char* from = nullptr;   // in the line: where the text not yet kept begins
};

// One scan of a bookmark file: the lines read, where the scan stands, and
// the writer it hands folders and links to.
struct TreeScan {
  TreeScan(const ShortcutOptions& o, TextIn* in) : steps(o), charset(*in, o.charset), lines(in) {}

  TreeSteps steps;  // steps.run.utf8 follows charset once it is needed
  CharsetGuess charset;
  JoinedLines lines;
  std::string line;  // the line scanned, with the lines joined to it
  LineCache cache;
  Markup at;
  LinkTexts texts;
  HeldLink held;
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
  t->steps.run.utf8 = c != Charset::kShiftJis;
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
  decode_refs(w.text.data(), t->steps.run.utf8);
  return w.text.data();
}

// *s, a description (markup) or a TAGS value as the file has it, as text
// in UTF-8: markup removed, the file's encoding converted (a Shift_JIS one
// too, as names are when they are written), references decoded, blanks
// collapsed. "\"", ':' and '/' stay: the text names no file.
void plain_text(TreeScan* t, std::string* s, bool markup) {
  LinkTexts& w = t->texts;
  if (markup) {
    w.text.resize(s->size() + 1);
    w.text.resize(strip_markup(s->c_str(), w.text.data()));
    s->swap(w.text);
  }
  const Charset c = need_charset(t);
  w.converted.clear();
  if (c == Charset::kShiftJis) {
    cp932_to_utf8(s->c_str(), &w.converted);
  } else if (converts(c)) {
    charset_to_utf8(c, s->c_str(), &w.converted);
  } else {
    w.converted = *s;
  }
  char* begin = w.converted.data();
  w.converted.resize(
      static_cast<std::size_t>(decode_refs(begin, begin + w.converted.size(), true) - begin));
  collapse_blanks(w.converted, s);
}

// The ICON_URI value of n bytes at v (null: none) into *icon when it is an
// http: or https: address: its references decoded, tabs and line breaks
// dropped, as an href's are; else *icon is empty.
void icon_address(TreeScan* t, const char* v, std::size_t n, std::string* icon) {
  icon->assign(v != nullptr ? v : "", v != nullptr ? n : 0);
  char* begin = icon->data();
  const bool utf8 = need_charset(t) == Charset::kUtf8;
  icon->resize(static_cast<std::size_t>(decode_refs(begin, begin + icon->size(), utf8) - begin));
  web_icon(icon);
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
  drop_line_breaks(&w.url);
  return true;
}

// The link in t->texts.url whose caption text starts at cap, added at the
// time added (0: none), whose start tag runs from lt to gt, where links are
// written: held, its caption, icon and tags taken (in a folder passed over,
// counted at once). Before the -s folder the caption is not even made.
void hold_link(TreeScan* t, const char* cap, long long added, const char* lt, const char* gt) {
  if (!t->steps.takes_link()) return;
  HeldLink& h = t->held;
  h.caption = caption_of(t, cap);
  h.url = t->texts.url;
  h.added = added;
  std::size_t n = 0;
  const char* v = attribute_value(lt, gt, "tags", &n);
  h.tags.assign(v != nullptr ? v : "", v != nullptr ? n : 0);
  plain_text(t, &h.tags, false);
  v = attribute_value(lt, gt, "icon_uri", &n);
  icon_address(t, v, n, &h.icon);
  h.description.clear();
  h.in_description = false;
  h.held = true;
}

// The held link, if any: its description made text, its file written into
// the current folder, and counted. False when the scan stops.
bool release_link(TreeScan* t) {
  HeldLink& h = t->held;
  if (!h.held) return true;
  h.held = false;
  if (h.in_description) {
    plain_text(t, &h.description, true);
  } else {
    h.description.clear();
  }
  return t->steps.put_link(Link{h.caption.data(), h.url.c_str(), h.added,
                                UrlExtras{h.icon.c_str(), h.description.c_str(), h.tags.c_str()}});
}

// What a tag means to a held link: none, the start of the next entry (a link,
// <DT>, <DL>, </DL>, <H3> or <HR>), a <DD> or a </DD>. Names in any case.
enum class Mark { kNone, kEntry, kDd, kDdEnd };

bool tag_named(const char* p, std::string_view name) {
  if (!starts_nocase(p, name)) return false;
  const char c = p[name.size()];
  return c == '>' || c == ' ' || c == '\t' || c == '/' || c == '\0';
}

Mark mark_of(const char* p) {
  if (link_start(p)) return Mark::kEntry;
  constexpr std::array<const char*, 5> kEntries{"<dt", "<dl", "</dl", "<h3", "<hr"};
  if (std::any_of(kEntries.begin(), kEntries.end(), [p](const char* e) { return tag_named(p, e); }))
    return Mark::kEntry;
  if (tag_named(p, "<dd")) return Mark::kDd;
  return tag_named(p, "</dd") ? Mark::kDdEnd : Mark::kNone;
}

// The tag at p, with a link held: its first <DD> starts its description,
// which ends at a second <DD>, a </DD> or the next entry; the link is written
// there (a description once ended, nothing later adds to it). False when the
// scan stops.
bool held_link_at(TreeScan* t, char* p) {
  HeldLink& h = t->held;
  const Mark m = mark_of(p);
  if (m == Mark::kNone || (m == Mark::kDdEnd && !h.in_description)) return true;
  if (m == Mark::kDd && !h.in_description) {
    h.in_description = true;
    h.from = p;  // the <DD> tag goes with the markup
    return true;
  }
  if (h.in_description) h.description.append(h.from, static_cast<std::size_t>(p - h.from));
  return release_link(t);
}

// The end of the line scanned, with a held link's description going on:
// the rest of the line kept, and the line break (a blank in the end).
void line_end(TreeScan* t) {
  HeldLink& h = t->held;
  if (!h.held || !h.in_description) return;
  h.description.append(h.from);
  h.description.push_back('\n');
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
    t->steps.pass();
    *p = q + 1;
    return LinkEnd::kGoOn;
  }
  *gt = '\0';
  *p = gt + 1;  // the links after this tag are still read
  if (!href_url(t, q)) {
    t->steps.pass();
    return LinkEnd::kGoOn;
  }
  if (close == nullptr) {
    errmsg("\"%s\": link tag not closed for the link of \"%s\"\n", gt + 1, t->texts.url.c_str());
    t->steps.pass();
    return LinkEnd::kGoOn;
  }
  *close = '\0';
  *p = close + 1;
  hold_link(t, gt + 1, added_time(lt, gt), lt, gt);
  return LinkEnd::kGoOn;
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
  t->steps.heading(caption_of(t, gt + 1));
  return close + 1;
}

// A list opens. False when the scan stops (the disk is full).
bool open_list(TreeScan* t) {
  t->at.seen_dl = true;
  t->at.dt_open = false;
  return t->steps.open_list();
}

// A list closes. True when it ends the selected folder, and the scan.
bool close_list(TreeScan* t) {
  t->at.dt_open = false;
  return t->steps.close_list();
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
    if (t->held.held && !held_link_at(t, p)) return LineEnd::kStop;
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
  line_end(t);
  return LineEnd::kNext;
}

// Scans every line of the file, joining lines for a link that asks. 0 at the
// end of the file or of the selected folder, -1 when a file or folder could
// not be written.
int scan_lines(TreeScan* t) {
  for (bool first = true; t->lines.next(&t->line); first = false) {
    char* p = t->line.data();
    if (first) p = t->charset.after_bom(p);
    t->held.from = p;
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

// Memory ran out: the link held before is written all the same, with what
// its description had, once the line's room is given back.
void release_after_stop(TreeScan* t) {
  std::string().swap(t->line);
  try {
    release_link(t);
  } catch (const std::bad_alloc&) {
    errmsg("cannot get memory\n");
  }
}

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
  const BookmarkFormat format = bookmark_format(&in);
  if (format != BookmarkFormat::kHtml) return scan_json(html, &in, format, o);
  TreeScan t(o, &in);
  int result = 0;
  // A line longer than memory (or a link of one) stops the scan between two
  // files: each file written before is whole, and counted.
  try {
    result = scan_lines(&t);
    // The file ends: so does the last link's entry.
    if (result == 0 && !release_link(&t)) result = -1;
  } catch (const std::bad_alloc&) {
    errmsg("cannot get memory\n");
    result = kScanNotWhole;
    release_after_stop(&t);
  }
  if (text_failed(in)) {
    errmsg("\"%s\": read error\n", html);
    result = kScanNotWhole;
  }
  t.steps.summary();
  return result;
}
