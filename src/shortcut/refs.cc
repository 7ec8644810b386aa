#include "shortcut/refs.h"

#include <cstdint>
#include <cstring>

#include "support/utf8.h"

namespace {

bool ascii_alpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool ascii_digit(char c) { return c >= '0' && c <= '9'; }

int hex_value(char c) {
  if (ascii_digit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The code point of the numeric reference whose digits start at p ("&#" or
// "&#x" already passed), with *end at its ';'; -1 when the digits do not end
// in ';' or name no character. Values are capped while they are summed, so
// "&#99999999999;" cannot overflow.
long numeric(const char* p, const char* limit, bool hex, const char** end) {
  long v = 0;
  const char* d = p;
  for (; d < limit; ++d) {
    const int digit = hex ? hex_value(*d) : (ascii_digit(*d) ? *d - '0' : -1);
    if (digit < 0) break;
    v = v * (hex ? 16 : 10) + digit;
    if (v > 0x10FFFF) v = 0x110000;  // stays out of range, never overflows
  }
  if (d == p || d == limit || *d != ';') return -1;
  *end = d;
  if (v == 0 || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return -1;
  return v;
}

struct Named {
  const char* text;
  std::size_t len;
  char c;
};
constexpr Named kNamed[] = {
    {"&amp;", 5, '&'}, {"&lt;", 4, '<'}, {"&gt;", 4, '>'}, {"&quot;", 6, '"'}, {"&apos;", 6, '\''}};

}  // namespace

char* decode_refs(char* begin, char* end, bool utf8) {
  char* out = begin;
  const char* p = begin;
  while (p < end) {
    if (*p != '&') {
      *out++ = *p++;
      continue;
    }
    const auto left = static_cast<std::size_t>(end - p);
    bool done = false;
    for (const Named& n : kNamed) {
      if (left >= n.len && std::memcmp(p, n.text, n.len) == 0) {
        *out++ = n.c;
        p += n.len;
        done = true;
        break;
      }
    }
    if (!done && left > 2 && p[1] == '#') {
      const bool hex = p[2] == 'x' || p[2] == 'X';
      const char* semi = nullptr;
      const long c = numeric(p + (hex ? 3 : 2), end, hex, &semi);
      if (c > 0 && (utf8 || c < 0x80)) {
        out += utf8_encode(static_cast<std::uint32_t>(c), out);
        p = semi + 1;
        done = true;
      }
    }
    if (!done) *out++ = *p++;
  }
  return out;
}

void decode_refs(char* s, bool utf8) {
  char* end = decode_refs(s, s + std::strlen(s), utf8);
  *end = '\0';
}

bool uri_scheme(const char* s) {
  if (!ascii_alpha(s[0])) return false;
  const char* p = s + 1;
  while (ascii_alpha(*p) || ascii_digit(*p) || *p == '+' || *p == '-' || *p == '.') ++p;
  return *p == ':' && p - s >= 2;
}
