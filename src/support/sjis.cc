#include "support/sjis.h"

#include <cstdlib>
#include <cstring>

#include "diag/errmsg.h"

namespace {

// Length of the character starting at p under the rule of sjis_lead: two
// when p holds a lead byte that is not the last byte of the string, else one.
// Never steps over the terminator.
std::size_t sjis_step(const unsigned char* p) { return (sjis_lead(p[0]) && p[1] != '\0') ? 2 : 1; }

}  // namespace

char* Strchr(const char* s, int c) {
  const auto want = static_cast<unsigned char>(c);
  auto* p = reinterpret_cast<const unsigned char*>(s);
  for (; *p != '\0'; p += sjis_step(p)) {
    if (*p == want) return const_cast<char*>(reinterpret_cast<const char*>(p));
  }
  return nullptr;
}

char* Strrchr(const char* s, int c) {
  const auto want = static_cast<unsigned char>(c);
  // Up to the first byte of 0x80 or more every byte starts a character, so
  // a last match found by the library's strrchr before it stands as it is.
  //   "News\\a.url" -> the library's answer; "\x83\x5C\\" -> the walk below
  if (want != 0) {
    const char* hit = std::strrchr(s, want);
    if (hit == nullptr) return nullptr;  // no such byte at all
    auto* q = reinterpret_cast<const unsigned char*>(s);
    const auto* h = reinterpret_cast<const unsigned char*>(hit);
    while (q < h && *q < 0x80) ++q;
    if (q == h) return const_cast<char*>(hit);
  }
  const unsigned char* last = nullptr;
  auto* p = reinterpret_cast<const unsigned char*>(s);
  for (; *p != '\0'; p += sjis_step(p)) {
    if (*p == want) last = p;
  }
  return const_cast<char*>(reinterpret_cast<const char*>(last));
}

// ChgChr and index2 keep the shape of the C library's routines they stand for.
char* ChgChr(char* s, int from, int to) {  // NOLINT(bugprone-easily-swappable-parameters)
  const auto f = static_cast<unsigned char>(from);
  const auto t = static_cast<unsigned char>(to);
  auto* p = reinterpret_cast<unsigned char*>(s);
  // The step is measured after the overwrite: a byte that becomes a lead byte
  // carries the byte after it along.
  for (; *p != '\0'; p += sjis_step(p)) {
    if (*p == f) *p = t;
  }
  return s;
}

char* index2(const char* s, const char* set) {  // NOLINT(bugprone-easily-swappable-parameters)
  auto* p = reinterpret_cast<const unsigned char*>(s);
  while (*p != '\0') {
    const std::size_t n = sjis_step(p);
    if (n == 1) {
      // A lone lead byte before the terminator is compared like any byte.
      for (auto* m = reinterpret_cast<const unsigned char*>(set); *m != '\0'; ++m) {
        if (*m == *p) return const_cast<char*>(reinterpret_cast<const char*>(p));
      }
    }
    p += n;
  }
  return nullptr;
}

char* sp_skip(const char* s) {
  while (*s == ' ' || *s == '\t') ++s;
  return const_cast<char*>(s);
}

char* setstr(const char* s) {
  const std::size_t n = std::strlen(s) + 1;
  auto* copy = static_cast<char*>(std::malloc(n));
  if (copy == nullptr) {
    errmsg("cannot get memory\n");
    std::exit(1);
  }
  std::memcpy(copy, s, n);
  return copy;
}
