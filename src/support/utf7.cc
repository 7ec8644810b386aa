#include "support/utf7.h"

#include <cstdint>
#include <cstring>

#include "support/utf8.h"

namespace {

// Value of a base64 byte, or -1 for a byte outside the set.
int base64_value(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// Appends code point cp (at most 0x10FFFF, no surrogate) as UTF-8.
void put_code_point(std::uint32_t cp, std::string* out) {
  char bytes[kUtf8Max];
  out->append(bytes, utf8_encode(cp, bytes));
}

// A C0 control, DEL or a C1 control: in no address.
constexpr bool control(std::uint32_t u) { return u < 0x20 || (u >= 0x7F && u <= 0x9F); }

constexpr bool high_surrogate(std::uint32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
constexpr bool low_surrogate(std::uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

bool utf7_to_utf8(std::string_view s, std::string* out) {
  out->clear();
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i++]);
    if (c >= 0x80 || control(c)) return false;
    if (c != '+') {
      out->push_back(static_cast<char>(c));
      continue;
    }
    if (i < s.size() && s[i] == '-') {
      out->push_back('+');
      ++i;
      continue;
    }
    // A run: the bits not yet made into a unit wait in acc (bits of them,
    // fewer than 16), a high surrogate in high until its low one comes.
    const std::size_t start = i;
    std::uint32_t acc = 0;
    int bits = 0;
    std::uint32_t high = 0;
    for (; i < s.size(); ++i) {
      const int v = base64_value(static_cast<unsigned char>(s[i]));
      if (v < 0) break;
      acc = acc << 6 | static_cast<std::uint32_t>(v);
      bits += 6;
      if (bits < 16) continue;
      bits -= 16;
      const std::uint32_t unit = acc >> bits;
      acc &= (std::uint32_t{1} << bits) - 1;
      if (high != 0) {
        if (!low_surrogate(unit)) return false;
        put_code_point(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00), out);
        high = 0;
      } else if (high_surrogate(unit)) {
        high = unit;
      } else if (low_surrogate(unit) || control(unit)) {
        return false;  // a lone low half, or a control character
      } else {
        put_code_point(unit, out);
      }
    }
    if (i == start || high != 0 || bits >= 6 || acc != 0) return false;
    if (i < s.size() && s[i] == '-') ++i;
  }
  return true;
}

namespace {

// True for a character UTF-7 writes as itself (every one of them ASCII).
bool direct(std::uint32_t c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         (c != 0 && c < 0x80 &&
          std::strchr(" '(),-./:?!\"#$%&*;<=>@[]^_`{|}", static_cast<int>(c)));
}

// The code point at s[*i], *i moved past it; a byte that begins no
// well-formed sequence is U+FFFD, and moves one byte.
std::uint32_t next_code_point(std::string_view s, std::size_t* i) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data()) + *i;
  const int len = utf8_length(p, s.size() - *i);
  if (len <= 0) {
    ++*i;
    return 0xFFFD;
  }
  *i += static_cast<std::size_t>(len);
  if (len == 1) return p[0];
  std::uint32_t c = p[0] & (0x7Fu >> len);
  for (int k = 1; k < len; ++k) c = c << 6 | (p[k] & 0x3Fu);
  return c;
}

// A base64 run being written: the bits not yet written wait in acc.
struct Run {
  bool open = false;
  std::uint32_t acc = 0;
  int bits = 0;
};

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

void put_unit(Run* r, std::uint32_t unit, std::string* out) {
  r->acc = r->acc << 16 | unit;
  r->bits += 16;
  while (r->bits >= 6) {
    r->bits -= 6;
    out->push_back(kBase64[r->acc >> r->bits & 0x3F]);
  }
  r->acc &= (std::uint32_t{1} << r->bits) - 1;
}

// Ends an open run: its last bits padded with zeros, then '-'.
void close_run(Run* r, std::string* out) {
  if (!r->open) return;
  if (r->bits > 0) out->push_back(kBase64[r->acc << (6 - r->bits) & 0x3F]);
  *r = Run{};
  out->push_back('-');
}

}  // namespace

void utf8_to_utf7(std::string_view s, std::string* out) {
  out->clear();
  Run run;
  for (std::size_t i = 0; i < s.size();) {
    const std::uint32_t c = next_code_point(s, &i);
    if (direct(c) || c == '+') {
      close_run(&run, out);
      out->append(c == '+' ? "+-" : std::string(1, static_cast<char>(c)));
      continue;
    }
    if (!run.open) out->push_back('+');
    run.open = true;
    if (c >= 0x10000) {
      put_unit(&run, 0xD800 + ((c - 0x10000) >> 10), out);
      put_unit(&run, 0xDC00 + ((c - 0x10000) & 0x3FF), out);
    } else {
      put_unit(&run, c, out);
    }
  }
  close_run(&run, out);
}
