// What the binary cannot show: formats that no message uses, the lead-byte
// rules of the primitives on bytes no name reaches, and the Windows drive root.
#include <gtest/gtest.h>

#include <cstdarg>
#include <string>

#include "diag/errmsg.h"
#include "shortcut/refs.h"
#include "support/freespace.h"
#include "support/sjis.h"

namespace {

std::string edit(const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  std::string r = err_edit(fmt, ap);
  va_end(ap);
  return r;
}

std::string a(std::size_t n) { return std::string(n, 'a'); }

TEST(ErrEdit, Conversions) {
  EXPECT_EQ(edit("%c|%d|%x|%x|%f", 0x141, -7, 255, -1, -0.25), "A|-7|ff|ffffffff|-0.250000");
  // Not conversions: the pair stays and takes no argument.
  EXPECT_EQ(edit("%%%5d%X\\%d%\\%s", "x"), "%%%5d%X%d%\\x");
  EXPECT_EQ(edit("a\\\\b\\"), "a\\b\\");
  EXPECT_EQ(edit("a%"), "a%");
  // The 1024-character limit: a %s of exactly the room left is written, one
  // byte more is dropped whole and still takes its argument; a number begun
  // below the limit is written whole, and nothing after it.
  EXPECT_EQ(edit((a(1000) + "%s|").c_str(), a(24).c_str()), a(1024));
  EXPECT_EQ(edit((a(1000) + "%s|%s").c_str(), a(25).c_str(), "n"), a(1000) + "|n");
  EXPECT_EQ(edit((a(1023) + "%d%s").c_str(), -123, "x"), a(1023) + "-123");
  EXPECT_EQ(edit((a(1030) + "%d").c_str(), 1), a(1024));
  EXPECT_LT(edit((a(1000) + "%f").c_str(), 1e300).size(), 1124u);
}

std::string decoded(std::string s, bool utf8) {
  decode_refs(s.data(), utf8);
  return s.c_str();
}

TEST(Refs, EveryBoundaryOfTheUtf8FormsAndOfWhatNamesACharacter) {
  EXPECT_EQ(decoded("&lt;&gt;&quot;&apos;&amp;amp;&#x7F;&#x80;&#x7FF;&#x800;&#xD7FF;&#xD800;&#xDFFF;&#xE000;"
                    "&#xFFFF;&#x10000;&#x10FFFF;&#x10FFFE;&#x110000;&#1114111;&#0;&#;&#x;&#65&#X41;", true),
            "<>\"'&amp;\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF&#xD800;&#xDFFF;\xEE\x80\x80"
            "\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF\xF4\x8F\xBF\xBE&#x110000;\xF4\x8F\xBF\xBF&#0;&#;&#x;&#65A");
  EXPECT_EQ(decoded("&#127;&#128;&#x41;&#233;", false), "\x7F&#128;A&#233;");
  for (const char* s : {"ab:", "a+-.9:x", "HTTP:"}) EXPECT_TRUE(uri_scheme(s)) << s;
  for (const char* s : {"a:", "C:\\x", "1a:", "+a:", "ab", "a b:", ""}) EXPECT_FALSE(uri_scheme(s)) << s;
}

TEST(Sjis, LeadBytes) {
  // Strrchr/index2: 0x80..0x9F and 0xE0..0xFC lead, not before the end.
  for (const char* s : {"\x80x", "\x9Fx", "\xE0x", "\xFCx"}) {
    EXPECT_EQ(Strrchr(s, 'x'), nullptr) << s;
    EXPECT_EQ(index2(s, "x"), nullptr) << s;
  }
  for (const char* s : {"\x7Fx", "\xA0x", "\xDFx", "\xFDx"}) EXPECT_EQ(Strrchr(s, 'x'), s + 1) << s;
  const char* lone = "x\x83\x83\x83";
  EXPECT_EQ(Strrchr(lone, 0x83), lone + 3);
  EXPECT_EQ(index2(lone, "\x83"), lone + 3);
  // to_lower: every high byte but 0xA1..0xDF leads; a lone one ends the walk.
  std::string s = "AB\x80" "A\xA0" "A\xB1" "A\xFF" "AC\xE0";
  to_lower(s.data());
  EXPECT_EQ(s, "ab\x80" "A\xA0" "A\xB1" "a\xFF" "Ac\xE0");
}

TEST(FreeSpace, RootOfTheDriveAsked) {
  char root[4] = "zzz";
  for (auto [path, want] : {std::pair{"c:x", "c:\\"}, {"\\\\s\\x", "\\"}, {"c", "\\"}}) {
    free_space_root(path, root);
    EXPECT_STREQ(root, want);
  }
}

}  // namespace
