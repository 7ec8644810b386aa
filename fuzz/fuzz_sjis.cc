// The Shift_JIS string primitives against a reference walk written here from
// their rules, on exact-size heap copies (a step past a terminator is caught).
//
// Input: byte 0 the character of Strchr / Strrchr, bytes 1 and 2 the from
// and to of ChgChr, byte 3 the length of the set of index2, then the set,
// then the string up to the first NUL.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "support/sjis.h"

namespace {

using Bytes = std::basic_string<unsigned char>;

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Lead bytes of Strchr, Strrchr, ChgChr, index2: 0x80..0x9F, 0xE0..0xFC,
// not when the terminator follows.
std::size_t step(const Bytes& s, std::size_t i) {
  const unsigned char c = s[i];
  const bool lead = (c >= 0x80 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
  return lead && i + 1 < s.size() && s[i + 1] != 0 ? 2 : 1;
}

std::size_t ref_strchr(const Bytes& s, unsigned char c, bool last) {
  std::size_t found = kNone;
  for (std::size_t i = 0; i < s.size(); i += step(s, i)) {
    if (s[i] == c) {
      found = i;
      if (!last) break;
    }
  }
  return found;
}

// The walk ends at the first NUL, which an overwrite with 0 may move: the
// string is walked as it stands after each overwrite.
Bytes ref_chgchr(Bytes s, unsigned char from, unsigned char to) {
  for (std::size_t i = 0; i < s.size() && s[i] != 0; i += step(s, i)) {
    if (s[i] == from) s[i] = to;
  }
  return s;
}

std::size_t ref_index2(const Bytes& s, const Bytes& set) {
  for (std::size_t i = 0; i < s.size();) {
    if (step(s, i) == 2) {
      i += 2;
      continue;
    }
    if (set.find(s[i]) != Bytes::npos) return i;
    ++i;
  }
  return kNone;
}

std::size_t ref_sp_skip(const Bytes& s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  return i;
}

// to_lower's own rule: 0xA1..0xDF single, every other high byte a lead byte;
// a lone lead byte at the end ends the walk.
Bytes ref_to_lower(Bytes s) {
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = s[i];
    if (c < 0x80) {
      if (c >= 'A' && c <= 'Z') s[i] = static_cast<unsigned char>(c + 0x20);
      ++i;
    } else if (c >= 0xA1 && c <= 0xDF) {
      ++i;
    } else {
      i += 2;
    }
  }
  return s;
}

std::unique_ptr<char[]> exact_copy(const Bytes& s) {
  std::unique_ptr<char[]> p(new char[s.size() + 1]);
  std::memcpy(p.get(), s.data(), s.size());
  p[s.size()] = '\0';
  return p;
}

std::size_t offset(const char* got, const char* base) {
  return got == nullptr ? kNone : static_cast<std::size_t>(got - base);
}

[[noreturn]] void fail(const char* what, const Bytes& s) {
  std::fprintf(stderr, "%s differs from the reference walk (string of %zu bytes)\n", what,
               s.size());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const unsigned char c = data[0];
  const unsigned char from = data[1];
  const unsigned char to = data[2];
  std::size_t rest = size - 4;
  const std::size_t set_len = data[3] < rest ? data[3] : rest;
  const Bytes set_in(data + 4, set_len);
  const Bytes set = set_in.substr(0, set_in.find(static_cast<unsigned char>(0)));
  rest -= set_len;
  const unsigned char* str = data + 4 + set_len;
  const Bytes s(str, strnlen(reinterpret_cast<const char*>(str), rest));

  auto buf = exact_copy(s);
  if (offset(Strchr(buf.get(), c), buf.get()) != ref_strchr(s, c, false)) fail("Strchr", s);
  if (offset(Strrchr(buf.get(), c), buf.get()) != ref_strchr(s, c, true)) fail("Strrchr", s);

  auto set_buf = exact_copy(set);
  if (offset(index2(buf.get(), set_buf.get()), buf.get()) != ref_index2(s, set)) fail("index2", s);
  if (offset(sp_skip(buf.get()), buf.get()) != ref_sp_skip(s)) fail("sp_skip", s);
  if (std::memcmp(buf.get(), s.data(), s.size()) != 0) fail("a reading routine changed its string", s);

  auto chg = exact_copy(s);
  if (ChgChr(chg.get(), from, to) != chg.get()) fail("ChgChr result", s);
  if (std::memcmp(chg.get(), ref_chgchr(s, from, to).data(), s.size() + 1) != 0) fail("ChgChr", s);

  auto low = exact_copy(s);
  if (to_lower(low.get()) != 0) fail("to_lower result", s);
  if (std::memcmp(low.get(), ref_to_lower(s).data(), s.size() + 1) != 0) fail("to_lower", s);
  return 0;
}
