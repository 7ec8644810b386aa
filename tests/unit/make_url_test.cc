#include "shortcut/make_url.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Case {
  const char* in;
  const char* want;
};

void check_clean(const std::vector<Case>& cases) {
  for (const auto& t : cases) {
    std::string buf = t.in;
    clean_name(buf.data());
    EXPECT_EQ(buf.size(), std::string(t.in).size());
    EXPECT_STREQ(buf.c_str(), t.want) << t.in;
  }
}

TEST(CleanName, ReplacementTable) {
  check_clean({
      {"a:b", "a;b"},
      {"a/b\\c|d", "a!b!c!d"},
      {"<x>", "(x)"},
      {"what?", "what "},
      {"a*b", "a b"},
      {"say \"hi\"", "say 'hi'"},
      {"a/b:c", "a!b;c"},
      // Everything else stays: tabs, control bytes, blanks, single dots,
      // half-width katakana, 0xA0 and 0xFD..0xFF.
      {"\ta\x01 b.c ~#%&'()+,;=@[]^`{}\t", "\ta\x01 b.c ~#%&'()+,;=@[]^`{}\t"},
      {"\xA0:\xB1:\xDF:\xFD:\xFF:", "\xA0;\xB1;\xDF;\xFD;\xFF;"},
      {"", ""},
  });
}

TEST(CleanName, FullStopRuns) {
  check_clean({
      {".", "."},
      {"a.b.c", "a.b.c"},
      {"..", "  "},
      {"...", "  ."},
      {"....", "    "},
      {".....", "    ."},
      {"a..b", "a  b"},
      {"x. .y", "x. .y"},
  });
}

TEST(CleanName, DoubleByteCharactersStayWhole) {
  check_clean({
      {"\x83\x5C", "\x83\x5C"},                           // ソ: second byte 0x5C
      {"\x83\x7C", "\x83\x7C"},                           // second byte 0x7C
      {"\x95\x5C\x8E\xA6/\x83\x5C", "\x95\x5C\x8E\xA6!\x83\x5C"},
      {"\x80\x5C\x9F\x7C\xE0\x5C\xFC\x7C", "\x80\x5C\x9F\x7C\xE0\x5C\xFC\x7C"},
      {"\x81\x40?", "\x81\x40 "},                         // second byte 0x40, the lowest
      {"\x81\x81\x5C", "\x81\x81!"},                      // a pair, then a single '\'
  });
}

TEST(CleanName, LeadByteBeforeALowByteIsASingleByte) {
  // A stray lead byte (a UTF-8 byte, a cut character) carries nothing
  // along when the next byte cannot be a second byte (below 0x40).
  check_clean({
      {"\xE3/x", "\xE3!x"},
      {"\x81:\x81*\x81?\x81\"", "\x81;\x81 \x81 \x81'"},
      {"\x9F<\xE0>", "\x9F(\xE0)"},
      {"\x81..", "\x81  "},
      {"\x81.", "\x81."},
      {"\x81\x3F", "\x81 "},                             // 0x3F: just below
      {"\x81\t", "\x81\t"},
      {"\xE6\x97\xA5:a", "\xE6\x97\xA5;a"},               // UTF-8: E6 97 is a pair, A5 single
      {"\x83", "\x83"},                                   // a lone lead byte at the end
      {"a/\xFC", "a!\xFC"},
  });
}

}  // namespace
