#include "shortcut/scan_html.h"

#include <array>
#include <cstring>

#include "diag/errmsg.h"
#include "shortcut/get_link.h"
#include "shortcut/make_url.h"
#include "shortcut/match.h"
#include "shortcut/scan_steps.h"
#include "support/textio.h"

namespace {

// Everything one scan works with: the options, the state carried from piece
// to piece, and the fixed buffers.
struct Scan {
  explicit Scan(const ShortcutOptions& opts) : o(opts) {}

  const ShortcutOptions& o;
  bool in_comment = false;
  long long dl_level = 0;  // no lower bound; wide enough for any file
  SelectMode select_mode = SelectMode::kAll;
  bool select_too_long = false;
  std::array<char, 2048> line{};
  std::array<char, 2048> url{};
  std::array<char, 1024> caption{};
  std::array<char, kSelectArea> select{};
};

// Copies src into a fixed area; src is known to fit.
template <std::size_t N>
void copy_in(std::array<char, N>* dst, const char* src) {
  const void* end = std::memchr(src, '\0', N - 1);
  const std::size_t n =
      end != nullptr ? static_cast<std::size_t>(static_cast<const char*>(end) - src) : N - 1;
  std::memcpy(dst->data(), src, n);
  (*dst)[n] = '\0';
}

// One link of a piece, p at the '<' of "<A ". Returns where scanning goes on, or null
// when make_url says stop. *stop is set for the latter.
char* piece_link(Scan* s, char* p, bool* stop) {
  // The href attribute, before the tag's first '>' or the end of the piece.
  char* r = find_href(p);
  if (!at_href(r)) return r;  // no link: go on at the '>' or the end
  char* q = r + 5;
  char* gt = tag_end(q);
  if (gt == nullptr) {
    errmsg("[%s]: tag not closed\n", q);
    return q + 1;
  }
  *gt = '\0';
  const char* href = get_href(q);
  if (href == nullptr) return q + 1;  // the piece now ends at the cut
  copy_in(&s->url, href);

  char* cap = gt + 1;
  char* close = find_tag(cap, "</A>", "</a>");
  if (close == nullptr) {
    errmsg("\"%s\": link tag not closed for the link of \"%s\"\n", cap, s->url.data());
    return cap;
  }
  *close = '\0';
  // A caption inside a piece of at most 1023 bytes always fits; were it ever
  // refused, the link is passed over rather than named after the last one.
  const char* text = get_caption(cap);
  if (text == nullptr) return close + 1;
  copy_in(&s->caption, text);
  if (s->select_mode != SelectMode::kWaiting &&
      make_url(Link{s->caption.data(), s->url.data()}, s->o) == UrlResult::kStop) {
    *stop = true;
    return nullptr;
  }
  return close + 1;
}

// A "<DT>" of the top-level list while waiting for the folder; p at its '<'.
char* folder_steps(Scan* s, char* p) {
  char* gt = std::strchr(p + 4, '>');
  if (gt == nullptr) return p + 4;
  char* lt = std::strchr(gt + 1, '<');
  if (lt == nullptr) return gt + 1;
  *lt = '\0';
  if (!s->select_too_long && std::strcmp(gt + 1, s->select.data()) == 0)
    s->select_mode = SelectMode::kInside;
  return lt + 1;
}

}  // namespace

int scan_html(const char* html, const ShortcutOptions& o) {
  TextIn in;
  if (!text_open(&in, html)) {
    errmsg("%s: not found\n", html);
    return -1;
  }
  Scan s(o);
  // A select value that cannot be held can never equal a caption, which lies
  // within one piece of at most 1023 bytes: it simply never matches.
  s.select_too_long = std::strlen(o.select) >= kSelectArea;
  if (!s.select_too_long) copy_in(&s.select, o.select);
  s.select_mode = o.select[0] == '\0' ? SelectMode::kAll : SelectMode::kWaiting;

  while (text_gets(s.line.data(), kHtmlRead, &in) != nullptr) {
    if (char* nl = std::strchr(s.line.data(), '\n')) *nl = '\0';
    char* p = s.line.data();
    while ((p = next_tag(p, &s.in_comment)) != nullptr) {
      if (starts(p, "<A ", "<a ")) {
        bool stop = false;
        p = piece_link(&s, p, &stop);
        if (stop) return -1;
      } else if (starts(p, "<DL>", "<dl>")) {
        ++s.dl_level;
        p += 4;
      } else if (starts(p, "</DL>", "</dl>")) {
        --s.dl_level;
        p += 5;
        if (s.select_mode == SelectMode::kInside && s.dl_level == 1) return 0;
      } else if (s.select_mode == SelectMode::kWaiting && s.dl_level == 1 &&
                 starts(p, "<DT>", "<dt>")) {
        p = folder_steps(&s, p);
      } else {
        ++p;
      }
    }
  }
  return 0;
}
