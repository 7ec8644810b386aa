#include "shortcut/scan_tree.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "diag/errmsg.h"
#include "shortcut/get_link.h"
#include "shortcut/match.h"
#include "shortcut/refs.h"
#include "shortcut/tree_url.h"
#include "support/names.h"
#include "support/port.h"
#include "support/textio.h"

namespace {

enum SelectMode { kWaiting = 0, kInside = 1, kAll = 2 };

// A list opened by a folder heading; closing it returns to the folder that
// was current before.
// (The members are read through frames.back(), which cppcheck does not follow.)
struct Frame {
  // cppcheck-suppress unusedStructMember
  long long level;          // dl_level inside the list
  // cppcheck-suppress unusedStructMember
  std::size_t folder_size;  // length of the enclosing folder's path
  // cppcheck-suppress unusedStructMember
  bool dead;                // the enclosing folder's entries are passed over
};

// The first place at or after some position where a text was found (null:
// nowhere up to the end of the line), and that position.
struct Cached {
  const char* from = nullptr;
  char* at = nullptr;
};

struct Tree {
  TreeRun run;
  const char* select = "";
  int comment_flg = 0;
  long long dl_level = 0;
  int select_mode = kAll;
  bool seen_dl = false;       // a META tag counts only before the first list
  bool dt_open = false;       // a "<DT>" whose entry has not come yet
  bool pending = false;       // a heading waits for its list
  bool pending_named = false; // ... and gives a folder of its own
  std::string pending_name;
  std::string folder;         // path of the current folder ("" the current directory)
  bool dead = false;          // the current folder could not be had
  std::vector<Frame> frames;
  long long written = 0;
  long long there = 0;
  long long passed = 0;
  std::string line;
  std::string url;
  std::string text;
  std::string tag;
  // Searches that could run to the end of a line of any length are made at
  // most once per stretch of it, so a line of a million broken links is read
  // a bounded number of times. Reset at each line; the scan position only
  // moves forward, and the cuts the scan writes lie behind it.
  const char* quotes_to = nullptr;        // quote parity of the line is known up to here
  int parity = 0;
  const char* end_from[2] = {nullptr, nullptr};  // per parity: tag end searched from ...
  char* end_at[2] = {nullptr, nullptr};          // ... and found (null: none)
  Cached close_a;
  Cached close_h3;
  // A link whose start tag or closing tag is not on its line asks for the
  // next one: join_at is its '<'. Once the next line is refused, every link
  // of this line is taken as it stands.
  char* join_at = nullptr;
  bool no_join = false;
  int joined = 0;  // lines joined to the current link so far
};

// Limits of a link spread over lines: every byte is rescanned at most this
// often, and a link never grows past this size by joining.
constexpr int kJoinLines = 64;
constexpr std::size_t kJoinBytes = std::size_t{1} << 20;

// Where link_steps asks for the next line.
char g_join_mark;
char* const kJoin = &g_join_mark;

// Prefix test ignoring ASCII case; lit is lower case.
template <std::size_t N>
bool has_nocase(const char* p, const char (&lit)[N]) {
  for (std::size_t i = 0; i + 1 < N; ++i) {
    char c = p[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lit[i]) return false;
  }
  return true;
}

// The first closing tag (upper or lower case) at or after p, or null.
template <std::size_t N>
char* find_close(Cached* c, char* p, const char (&upper)[N], const char (&lower)[N]) {
  if (c->from != nullptr && p >= c->from && (c->at == nullptr || p <= c->at)) return c->at;
  char* close = p;
  while ((close = std::strchr(close, '<')) != nullptr && !starts(close, upper, lower)) ++close;
  c->from = p;
  c->at = close;
  return close;
}

// tag_end(q) for a q at or after every earlier one on the line. The answer is
// the first '>' after q with an even number of quotes between, so it is the
// same for every q of one quote parity up to that '>'.
char* tag_end_at(Tree* t, char* q) {
  for (; t->quotes_to < q; ++t->quotes_to) {
    if (*t->quotes_to == '"') t->parity ^= 1;
  }
  const int c = t->parity;
  if (t->end_from[c] == nullptr || q < t->end_from[c] ||
      (t->end_at[c] != nullptr && q >= t->end_at[c])) {
    t->end_from[c] = q;
    t->end_at[c] = tag_end(q);
  }
  return t->end_at[c];
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

// p at "<meta": true when the tag declares charset=utf-8. *next is where
// scanning goes on: after the tag, or the end of the line.
bool meta_utf8(char* p, char** next) {
  char* gt = std::strchr(p, '>');
  char* end = gt != nullptr ? gt : p + std::strlen(p);
  *next = end;
  for (const char* c = p; c < end; ++c) {
    if (!has_nocase(c, "charset=")) continue;
    c += 8;
    if (*c == '"' || *c == '\'') ++c;
    return has_nocase(c, "utf-8");
  }
  return false;
}

// The text between a start tag and the '<' cut at its closing tag: markup
// removed, references decoded, in t->text.
char* caption_of(Tree* t, const char* start) {
  t->text.resize(std::strlen(start) + 1);
  strip_tags(start, t->text.data());
  decode_refs(t->text.data(), t->run.utf8);
  return t->text.data();
}

void count(Tree* t, TreeResult r) {
  if (r == TreeResult::kWritten) ++t->written;
  if (r == TreeResult::kThere) ++t->there;
  if (r == TreeResult::kPassed) ++t->passed;
}

// "<A " or "<a ", or "<A" at a tab or the end of the line.
bool link_start(const char* p) {
  return (p[0] == '<' && (p[1] == 'A' || p[1] == 'a') && (p[2] == ' ' || p[2] == '\t' || p[2] == '\0'));
}

// A line may go on with a link when nothing in it before its first "</A>"
// begins another link, entry, heading or list.
bool continues_link(const char* s) {
  for (const char* p = std::strchr(s, '<'); p != nullptr; p = std::strchr(p + 1, '<')) {
    if (starts(p, "</A>", "</a>")) return true;
    if (link_start(p) || starts(p, "<DT", "<dt") || starts(p, "<DD", "<dd") || starts(p, "<DL", "<dl") ||
        starts(p, "</DL", "</dl") || starts(p, "<H3", "<h3")) {
      return false;
    }
  }
  return true;
}

// True when the link at p may ask for the next line.
bool ask_join(Tree* t, char* p) {
  if (t->no_join) return false;
  t->join_at = p;
  return true;
}

// One link, p at its '<'. Gives where scanning goes on, kJoin when the link
// needs the next line, or null when a .url file could not be written.
char* link_steps(Tree* t, char* p) {
  char* r = p;
  while (*r != '\0' && *r != '>' && !starts(r, "HREF=\"", "href=\"")) ++r;
  if (*r == '\0' && ask_join(t, p)) return kJoin;
  if (*r != 'H' && *r != 'h') return r;
  char* q = r + 5;
  char* gt = tag_end_at(t, q);
  char* close = gt != nullptr ? find_close(&t->close_a, gt + 1, "</A>", "</a>") : nullptr;
  if (close == nullptr && ask_join(t, p)) return kJoin;
  t->dt_open = false;
  const bool writing = t->select_mode != kWaiting;
  if (gt == nullptr) {
    errmsg("[%s]: tag not closed\n", q);
    if (writing) ++t->passed;
    return q + 1;
  }
  *gt = '\0';
  // The value's references are decoded before anything looks at it, in a
  // copy of the tag: the quote, the decoded value, the rest of the tag from
  // the value's closing quote (tag_end has met it).
  const char* value_end = std::strchr(q + 1, '"');
  t->tag.assign(q, static_cast<std::size_t>(value_end - q));
  char* tag = t->tag.data();
  t->tag.resize(static_cast<std::size_t>(decode_refs(tag + 1, tag + t->tag.size(), t->run.utf8) - tag));
  if (std::strncmp(t->tag.c_str(), "\"javascript", 11) != 0 && std::strncmp(t->tag.c_str(), "\"JAVASCRIPT", 11) != 0) {
    t->url.assign(t->tag, 1);  // a decoded '"' stays part of the address
  } else {
    t->tag += value_end;
    std::size_t n = 0;
    const char* href = href_text(t->tag.data(), &n);
    if (href == nullptr) {
      if (writing) ++t->passed;
      return gt + 1;  // the links after this tag are still read
    }
    t->url.assign(href, n);
  }

  // Browsers drop tabs and line breaks from an address; in a .url file a line
  // break would start a line of its own (another IconFile=, say).
  t->url.erase(std::remove_if(t->url.begin(), t->url.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }),
               t->url.end());
  char* cap = gt + 1;
  if (close == nullptr) {
    errmsg("\"%s\": link tag not closed for the link of \"%s\"\n", cap, t->url.c_str());
    if (writing) ++t->passed;
    return cap;
  }
  *close = '\0';
  char* caption = caption_of(t, cap);
  if (writing) {
    const TreeResult res = t->dead ? TreeResult::kPassed : make_url_x(&t->run, caption, t->url.c_str(), t->folder);
    if (res == TreeResult::kStop) return nullptr;
    count(t, res);
  }
  return close + 1;
}

// True when a top-level heading is the -s folder: as it stands, or, in a
// Shift_JIS file, in the UTF-8 form its folder name takes.
bool selects(Tree* t, const char* caption) {
  if (std::strcmp(caption, t->select) == 0) return true;
  if (t->run.utf8) return false;
  std::string name;
  cp932_to_utf8(caption, &name);
  return name == t->select;
}

// A heading "<H3 ...>caption</H3>", p at its '<'. After a "<DT>" it names a
// folder: the one to select, or the one the next list makes.
char* heading_steps(Tree* t, char* p) {
  char* close = find_close(&t->close_h3, p + 3, "</H3>", "</h3>");
  if (close == nullptr) return p + 3;
  char* gt = tag_close(p + 3, close);
  if (gt == nullptr) return close + 5;  // a broken heading is passed over whole
  *close = '\0';
  if (!t->dt_open) return close + 1;
  t->dt_open = false;
  char* caption = caption_of(t, gt + 1);
  if (t->select_mode == kWaiting) {
    if (t->dl_level == 1 && selects(t, caption)) {
      t->select_mode = kInside;
      t->pending = true;
      t->pending_named = false;  // its list is the output folder itself
    }
  } else {
    t->pending = true;
    t->pending_name.clear();
    t->pending_named = folder_name(t->run, caption, &t->pending_name);
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
  if (!t->pending) return true;
  t->pending = false;
  t->frames.push_back(Frame{t->dl_level, t->folder.size(), t->dead});
  if (t->dead || !t->pending_named) return true;
  if (!t->folder.empty()) t->folder.push_back(kPathSep);
  t->folder += t->pending_name;
  switch (make_folder(t->folder.c_str())) {
    case FolderResult::kReady:
      return true;
    case FolderResult::kNotFolder:
      errmsg("\"%s\": not a folder\n", t->folder.c_str());
      break;
    case FolderResult::kFailed:
      errmsg("\"%s\": cannot create folder\n", t->folder.c_str());
      break;
    case FolderResult::kNoSpace:
      errmsg("no free disk space\n");
      errmsg("\"%s\": cannot create folder\n", t->folder.c_str());
      return false;
  }
  t->dead = true;
  return true;
}

// A list closes. True when it ends the selected folder, and the scan.
bool close_list(Tree* t) {
  if (!t->frames.empty() && t->frames.back().level == t->dl_level) {
    t->folder.resize(t->frames.back().folder_size);
    t->dead = t->frames.back().dead;
    t->frames.pop_back();
  }
  --t->dl_level;
  t->pending = false;
  t->dt_open = false;
  return t->select_mode == kInside && t->dl_level == 1;
}

// Scans one line. False when the scan ends: -1 in *result after a write
// failure, 0 at the end of the selected folder, 1 when a link asks for the
// next line (t->join_at).
bool scan_line(Tree* t, char* p, int* result) {
  for (;;) {
    p = std::strchr(p, t->comment_flg ? '-' : '<');
    if (p == nullptr) return true;
    if (t->comment_flg) {
      if (has(p, "-->")) {
        t->comment_flg = 0;
        p += 3;
      } else {
        ++p;
      }
    } else if (link_start(p)) {
      p = link_steps(t, p);
      if (p == nullptr || p == kJoin) {
        *result = p == nullptr ? -1 : 1;
        return false;
      }
    } else if (has(p, "<!--")) {
      t->comment_flg = 1;
      p += 4;
    } else if (starts(p, "<DL>", "<dl>")) {
      if (!open_list(t)) {
        *result = -1;
        return false;
      }
      p += 4;
    } else if (starts(p, "</DL>", "</dl>")) {
      p += 5;
      if (close_list(t)) {
        *result = 0;
        return false;
      }
    } else if (starts(p, "<DT>", "<dt>")) {
      t->dt_open = true;
      p += 4;
    } else if (starts(p, "<H3", "<h3") && (p[3] == '>' || p[3] == ' ' || p[3] == '\t')) {
      p = heading_steps(t, p);
    } else if (!t->seen_dl && !t->run.utf8 && has_nocase(p, "<meta")) {
      t->run.utf8 = meta_utf8(p, &p);
    } else {
      ++p;
    }
  }
}

int clamp(long long n) { return n > 2147483647LL ? 2147483647 : static_cast<int>(n); }

}  // namespace

int scan_tree(const char* html, const char* url_prefix, const char* select, const char* outdir,
              const char* icon, int icon_index, const char* name_prefix) {
  TextIn in;
  if (!text_open(&in, html)) {
    errmsg("%s: not found\n", html);
    return -1;
  }
  Tree t;
  t.run.url_prefix = url_prefix;
  t.run.outdir = outdir;
  t.run.icon = icon;
  t.run.icon_index = icon_index;
  t.run.name_prefix = name_prefix;
  t.select = select;
  t.select_mode = select[0] == '\0' ? kAll : kWaiting;
  t.folder = outdir;

  int result = 0;
  bool first = true;
  std::string next;
  bool have_next = false;
  while (have_next || text_getline(&in, &t.line)) {
    if (have_next) {
      t.line.swap(next);
      have_next = false;
    } else if (!t.line.empty() && t.line.back() == '\n') {
      t.line.pop_back();
    }
    char* p = t.line.data();
    if (first && has(p, "\xEF\xBB\xBF")) {
      t.run.utf8 = true;
      p += 3;
    }
    first = false;
    t.joined = 0;
    t.no_join = false;
    for (bool fresh = true;;) {
      if (fresh) {
        t.quotes_to = t.line.data();
        t.parity = 0;
        t.end_from[0] = t.end_from[1] = nullptr;
        t.close_a = t.close_h3 = Cached{};
      }
      fresh = false;
      if (scan_line(&t, p, &result)) break;
      if (result != 1) goto done;
      result = 0;
      p = t.join_at;
      // The link at join_at goes on with the next line, the line break and
      // the blanks around it read as one blank, as a browser shows them.
      const auto at = static_cast<std::size_t>(t.join_at - t.line.data());
      if (!have_next && text_getline(&in, &next)) {
        if (!next.empty() && next.back() == '\n') next.pop_back();
        have_next = true;
      }
      if (!have_next || t.joined == kJoinLines || t.line.size() - at + next.size() >= kJoinBytes ||
          !continues_link(next.c_str())) {
        t.no_join = true;  // taken as it stands; the next line is scanned on its own
        continue;
      }
      // The scan never reads past a NUL byte: neither may the joined text.
      t.line.erase(0, at);
      t.line.resize(std::strlen(t.line.c_str()));
      t.line.erase(t.line.find_last_not_of(" \t") + 1);
      t.line.push_back(' ');
      const std::size_t lead = next.find_first_not_of(" \t");
      if (lead != std::string::npos) t.line.append(next, lead);
      have_next = false;
      ++t.joined;
      p = t.line.data();
      fresh = true;  // the buffer has changed: nothing found in it stands
    }
  }
done:
  errmsg("%d written, %d already there, %d passed over\n", clamp(t.written), clamp(t.there),
         clamp(t.passed));
  return result;
}
