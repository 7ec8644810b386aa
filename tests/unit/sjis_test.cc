#include "support/sjis.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Offset of a result within s, or -1 for null.
std::ptrdiff_t at(const char* s, const char* r) { return r == nullptr ? -1 : r - s; }

struct FindCase {
  const char* s;
  int c;
  std::ptrdiff_t first;  // Strchr
  std::ptrdiff_t last;   // Strrchr
};

TEST(Sjis, StrchrAndStrrchrStepOverDoubleByteCharacters) {
  const std::vector<FindCase> cases = {
      {"a\\b\\c", '\\', 1, 3},
      {"\x95\x5C\x8E\xA6", '\\', -1, -1},                 // 表示: 0x5C is a second byte
      {"\x83\x5C\x83t\x83g\\a", '\\', 6, 6},              // ソフト\a
      {"abc", 0, -1, -1},                                 // the terminator is never compared
      {"abc", 'x', -1, -1},
      {"\x80" "a", 'a', -1, -1},                          // 0x80 is a lead byte
      {"\x9F" "a", 'a', -1, -1},
      {"\xA0" "a", 'a', 1, 1},                            // 0xA0 is not
      {"\xDF" "a", 'a', 1, 1},
      {"\xE0" "a", 'a', -1, -1},
      {"\xFC" "a", 'a', -1, -1},
      {"\xFD" "a", 'a', 1, 1},                            // 0xFD..0xFF are single bytes
      {"\x83", 0x83, 0, 0},                               // lead bytes are compared
      {"a\x83", 0x83, 1, 1},                              // a lone lead byte at the end
      {"\x83\x83\x83", 0x83, 0, 2},                       // pair, then a lone lead byte
      {"x.y.z", '.', 1, 3},
      {"x", 0x178, 0, 0},                                 // only the low byte of c counts
  };
  for (const auto& t : cases) {
    EXPECT_EQ(at(t.s, Strchr(t.s, t.c)), t.first) << t.s;
    EXPECT_EQ(at(t.s, Strrchr(t.s, t.c)), t.last) << t.s;
  }
}

TEST(Sjis, ChgChrChangesOnlySingleByteCharacters) {
  struct Case { const char* in; const char* out; };
  const std::vector<Case> cases = {
      {"a\\b\\c", "a/b/c"},
      {"\x83\x5C\x83t\x83g\\\x95\x5C", "\x83\x5C\x83t\x83g/\x95\x5C"},  // ソフト\表
      {"\\", "/"},
      {"", ""},
      {"\x83", "\x83"},
  };
  for (const auto& t : cases) {
    std::string buf = t.in;
    EXPECT_EQ(ChgChr(buf.data(), '\\', '/'), buf.data());
    EXPECT_STREQ(buf.c_str(), t.out);
  }
  // The lead-byte test is made after the overwrite: a byte that becomes a
  // lead byte carries the next byte along.
  std::string buf = "aa";
  ChgChr(buf.data(), 'a', 0x83);
  EXPECT_STREQ(buf.c_str(), "\x83" "a");
}

TEST(Sjis, Index2FindsTheFirstMemberAndNeverComparesDoubleByteCharacters) {
  const char* bad = ":<>*?|\".\\/";
  struct Case { const char* s; const char* set; std::ptrdiff_t want; };
  const std::vector<Case> cases = {
      {"a.b", bad, 1},
      {"ab/c:d", bad, 2},                 // earliest position, whatever the set order
      {"\x83\x5C\x83\x7C", bad, -1},      // ソ and ポ: second bytes 0x5C and 0x7C
      {"\x83\x5C:", bad, 2},
      {"\x81", "\x81", 0},                // a lone lead byte at the end is compared
      {"\x81\x81", "\x81", -1},           // a pair is not
      {"abc", "", -1},                    // an empty set
      {"", bad, -1},
  };
  for (const auto& t : cases) EXPECT_EQ(at(t.s, index2(t.s, t.set)), t.want) << t.s;
}

TEST(Sjis, SpSkipSkipsOnlySpacesAndTabs) {
  struct Case { const char* s; std::ptrdiff_t want; };
  const std::vector<Case> cases = {
      {"\t  x", 3}, {"   ", 3}, {"", 0}, {"\x81\x40x", 0}, {"\n x", 0}, {"x ", 0},
  };
  for (const auto& t : cases) EXPECT_EQ(at(t.s, sp_skip(t.s)), t.want) << t.s;
}

TEST(Sjis, ToLowerKeepsItsOwnLeadByteRule) {
  struct Case { const char* in; const char* out; };
  const std::vector<Case> cases = {
      {"CON", "con"},
      {"Clock", "clock"},
      {"\x82\x60", "\x82\x60"},            // full-width A
      {"\xB1\xB2" "A", "\xB1\xB2" "a"},    // half-width katakana are single bytes
      {"\xA0" "A", "\xA0" "A"},            // 0xA0 is a lead byte here
      {"\xFD" "A", "\xFD" "A"},
      {"\xFF" "AB", "\xFF" "Ab"},
      {"\xA1" "A", "\xA1" "a"},
      {"\xDF" "A", "\xDF" "a"},
      {"\xE0" "A", "\xE0" "A"},
      {"A\x83", "a\x83"},                  // a lone lead byte ends the walk
      {"@[`{", "@[`{"},                    // neighbours of A..Z stay
  };
  for (const auto& t : cases) {
    std::string buf = t.in;
    EXPECT_EQ(to_lower(buf.data()), 0);
    EXPECT_STREQ(buf.c_str(), t.out);
  }
}

TEST(Sjis, LoneLeadByteIsNeverFollowedPastTheTerminator) {
  // Exactly sized heap blocks: ASan reports any read beyond the NUL.
  for (int b = 0x80; b <= 0xFF; ++b) {
    auto* s = new char[2]{static_cast<char>(b), '\0'};
    EXPECT_EQ(at(s, Strchr(s, b)), 0);
    EXPECT_EQ(at(s, Strrchr(s, b)), 0);
    EXPECT_EQ(at(s, index2(s, "x")), -1);
    ChgChr(s, 'x', 'y');
    to_lower(s);
    EXPECT_EQ(static_cast<unsigned char>(s[0]), b);
    delete[] s;
  }
}

TEST(Sjis, SetstrCopies) {
  for (const char* s : {"", "abc", "\x83\x5C"}) {
    char* c = setstr(s);
    EXPECT_NE(c, s);
    EXPECT_STREQ(c, s);
    std::free(c);
  }
}

}  // namespace
