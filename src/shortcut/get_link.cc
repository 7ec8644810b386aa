#include "shortcut/get_link.h"

#include <array>
#include <cstring>

#include "diag/errmsg.h"
#include "support/sjis.h"

namespace {

std::array<char, kLinkText + 1> g_href;
std::array<char, kLinkText + 1> g_caption;

// strlen that stops counting past limit, so an overlong text costs no more
// than the limit to refuse.
bool longer_than(const char* s, std::size_t limit) {
  return std::memchr(s, '\0', limit + 1) == nullptr;
}

char* href_fail(const char* q) {
  errmsg("[%s]: can not recognize URL string\n", q);
  return nullptr;
}

}  // namespace

char* tag_end(const char* q) {
  // Jump from quote to quote: inside a quoted value only the closing '"'
  // matters, outside it the next '"' or '>'.
  const char* p = q;
  for (;;) {
    p += std::strcspn(p, "\">");
    if (*p == '\0') return nullptr;
    if (*p == '>') return const_cast<char*>(p);
    p = std::strchr(p + 1, '"');
    if (p == nullptr) return nullptr;
    ++p;
  }
}

bool script_href(const char* q) {
  return std::strncmp(q, "\"javascript", 11) == 0 || std::strncmp(q, "\"JAVASCRIPT", 11) == 0;
}

const char* href_text(char* q, std::size_t* len) {
  if (!script_href(q)) {
    // Plain form: the value as it stands, up to its closing quote.
    *len = std::strcspn(q + 1, "\"");
    return q + 1;
  }
  // Script form. The search runs on through later attributes of the tag.
  char* call = std::strstr(q + 11, "window.open");
  if (call == nullptr) return href_fail(q);
  char* paren = sp_skip(call + 11);
  if (*paren != '(') return href_fail(q);
  char* open = std::strchr(paren + 1, '\'');
  if (open == nullptr) return href_fail(q);
  char* close = std::strchr(open + 1, '\'');
  if (close == nullptr) return href_fail(q);
  *close = '\0';
  const char* url = open + 1;
  if (url[0] == '.' && url[1] == '/') url += 2;  // once: "././a" -> "./a"
  *len = static_cast<std::size_t>(close - url);
  return url;
}

char* get_href(char* q) {
  if (longer_than(q, kLinkText)) return href_fail(q);
  std::size_t n = 0;
  const char* url = href_text(q, &n);
  if (url == nullptr) return nullptr;
  std::memcpy(g_href.data(), url, n);
  g_href[n] = '\0';
  return g_href.data();
}

std::size_t strip_tags(const char* text, char* out) {
  bool in_tag = false;
  bool quoted = false;
  std::size_t n = 0;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p == '<' && !quoted) {
      in_tag = true;
    } else if (*p == '"') {
      quoted = !quoted;
    } else if (*p == '>' && !quoted) {
      in_tag = false;
    } else if (!in_tag) {
      out[n++] = *p;
    }
  }
  out[n] = '\0';
  return n;
}

std::size_t strip_markup(const char* text, char* out) {
  bool in_tag = false;
  bool quoted = false;
  std::size_t n = 0;
  for (const char* p = text; *p != '\0'; ++p) {
    if (!in_tag && std::strncmp(p, "<!--", 4) == 0) {
      // A comment is one piece of markup, '>' and quotes in it included.
      const char* end = std::strstr(p + 4, "-->");
      if (end == nullptr) break;
      p = end + 2;
    } else if (!in_tag) {
      if (*p == '<') {
        in_tag = true;
      } else {
        out[n++] = *p;
      }
    } else if (*p == '"') {
      quoted = !quoted;
    } else if (*p == '>' && !quoted) {
      in_tag = false;
    }
  }
  out[n] = '\0';
  return n;
}

char* get_caption(const char* text) {
  if (longer_than(text, kLinkText)) return nullptr;
  strip_tags(text, g_caption.data());
  return g_caption.data();
}

const char* attribute_value(const char* p, const char* end, const char* name, std::size_t* len) {
  const std::size_t n = std::strlen(name);
  bool quoted = false;
  for (++p; p < end; ++p) {
    if (*p == '"') quoted = !quoted;
    if (quoted || (p[-1] != ' ' && p[-1] != '\t') || !starts_nocase(p, name) || p[n] != '=') {
      continue;
    }
    p += n + 1;
    if (*p == '"' || *p == '\'') {
      const char* close =
          static_cast<const char*>(std::memchr(p + 1, *p, static_cast<std::size_t>(end - p - 1)));
      if (close == nullptr) return nullptr;
      *len = static_cast<std::size_t>(close - p - 1);
      return p + 1;
    }
    *len = std::strcspn(p, " \t");
    if (p + *len > end) *len = static_cast<std::size_t>(end - p);
    return p;
  }
  return nullptr;
}

long long added_time(const char* p, const char* end) {
  std::size_t len = 0;
  const char* v = attribute_value(p, end, "add_date", &len);
  if (v == nullptr) return 0;
  const bool before_1970 = len > 0 && *v == '-';
  if (before_1970) {
    ++v;
    --len;
  }
  if (len == 0 || len > 18 || std::strspn(v, "0123456789") < len) return 0;
  long long n = 0;
  for (std::size_t i = 0; i < len; ++i) n = n * 10 + (v[i] - '0');
  // Microseconds go to the second that holds them: rounded down, as a
  // file time before 1970 is (-1 microsecond is in second -1, not 0).
  if (n >= 100000000000LL) n = before_1970 ? (n + 999999) / 1000000 : n / 1000000;
  return before_1970 ? -n : n;
}
