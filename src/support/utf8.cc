#include "support/utf8.h"

#include <array>
#include <cstring>
#include <string>
#include <string_view>

namespace {

// Where a run of ASCII bytes from p ends (at most at end), 32 bytes a time
// while they last: the file check spends its time here on a mostly ASCII file.
const unsigned char* skip_ascii(const unsigned char* p, const unsigned char* end) {
  constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
  while (end - p >= 32) {
    std::array<std::uint64_t, 4> w{};
    std::memcpy(w.data(), p, 32);
    if (((w[0] | w[1] | w[2] | w[3]) & kHigh) != 0) break;
    p += 32;
  }
  while (p < end && *p < 0x80) ++p;
  return p;
}

// Appends s to *out, each byte that does not begin a well-formed sequence
// given to bad to write in its place; the runs between them go out whole.
template <typename Bad>
void repair(std::string_view s, std::string* out, Bad bad) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const unsigned char* const end = p + s.size();
  const unsigned char* run = p;  // the first byte not yet appended
  while ((p = skip_ascii(p, end)) < end) {
    const int len = utf8_length(p, static_cast<std::size_t>(end - p));
    if (len > 0) {
      p += len;
      continue;
    }
    out->append(reinterpret_cast<const char*>(run), static_cast<std::size_t>(p - run));
    bad(*p);
    run = ++p;
  }
  out->append(reinterpret_cast<const char*>(run), static_cast<std::size_t>(end - run));
}

}  // namespace

std::size_t utf8_encode(std::uint32_t c, char* out) {
  const auto byte = [](std::uint32_t b) {
    return static_cast<char>(static_cast<unsigned char>(b));
  };
  if (c < 0x80) {
    out[0] = byte(c);
    return 1;
  }
  if (c < 0x800) {
    out[0] = byte(0xC0 | c >> 6);
    out[1] = byte(0x80 | (c & 0x3F));
    return 2;
  }
  if (c < 0x10000) {
    out[0] = byte(0xE0 | c >> 12);
    out[1] = byte(0x80 | (c >> 6 & 0x3F));
    out[2] = byte(0x80 | (c & 0x3F));
    return 3;
  }
  out[0] = byte(0xF0 | c >> 18);
  out[1] = byte(0x80 | (c >> 12 & 0x3F));
  out[2] = byte(0x80 | (c >> 6 & 0x3F));
  out[3] = byte(0x80 | (c & 0x3F));
  return 4;
}

int utf8_length(const unsigned char* p, std::size_t n) {
  // A lead byte gives the length and the range of the byte after it, which
  // shuts out overlong forms (E0, F0), surrogates (ED) and what lies above
  // U+10FFFF (F4); every other byte after it is 80..BF.
  //   00..7F: 1   C2..DF: 2   E0: A0..BF   E1..EC, EE..EF: 3   ED: 80..9F
  //   F0: 90..BF   F1..F3: 4   F4: 80..8F   80..C1, F5..FF: none
  const unsigned char c = p[0];
  if (c < 0x80) return 1;
  const int len = c >= 0xC2 && c <= 0xDF   ? 2
                  : c >= 0xE0 && c <= 0xEF ? 3
                  : c >= 0xF0 && c <= 0xF4 ? 4
                                           : 0;
  unsigned char lo = c == 0xE0 ? 0xA0 : c == 0xF0 ? 0x90 : 0x80;
  unsigned char hi = c == 0xED ? 0x9F : c == 0xF4 ? 0x8F : 0xBF;
  for (int k = 1; k < len; ++k) {
    if (static_cast<std::size_t>(k) == n)
      return -k;  // cut by the end: the next bytes may complete it
    if (p[k] < lo || p[k] > hi) return 0;
    lo = 0x80;
    hi = 0xBF;
  }
  return len;
}

bool utf8_prefix(const unsigned char* p, std::size_t n, std::size_t* used) {
  const unsigned char* const begin = p;
  const unsigned char* const end = p + n;
  while ((p = skip_ascii(p, end)) < end) {
    const int len = utf8_length(p, static_cast<std::size_t>(end - p));
    if (len < 0) break;
    if (len == 0) {
      *used = static_cast<std::size_t>(p - begin);
      return false;
    }
    p += len;
  }
  *used = static_cast<std::size_t>(p - begin);
  return true;
}

bool is_utf8(std::string_view s) {
  std::size_t used = 0;
  return utf8_prefix(reinterpret_cast<const unsigned char*>(s.data()), s.size(), &used) &&
         used == s.size();
}

void valid_utf8(std::string_view s, std::string* out) {
  repair(s, out, [out](unsigned char /*byte*/) { out->append("\xEF\xBF\xBD"); });
}

void percent_invalid(std::string_view s, std::string* out) {
  repair(s, out, [out](unsigned char byte) {
    constexpr const char* kHex = "0123456789ABCDEF";
    out->push_back('%');
    out->push_back(kHex[byte >> 4]);
    out->push_back(kHex[byte & 0x0F]);
  });
}
