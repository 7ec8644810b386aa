#include "diag/errmsg.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstring>
#include <string>
#include <vector>

namespace {

// err_edit takes a va_list; this makes one. No format attribute on purpose:
// the formats below are this formatter's, not printf's ("%5d" takes nothing).
std::string edit(const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  const char* r = err_edit(fmt, ap);
  va_end(ap);
  return r;
}

// The same, keeping the result area's bytes up to n (for embedded NULs).
std::string edit_bytes(std::size_t n, const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  const char* r = err_edit(fmt, ap);
  va_end(ap);
  return std::string(r, n);
}

std::string a(std::size_t n) { return std::string(n, 'a'); }

struct Case {
  std::string got;
  std::string want;
};

TEST(ErrEdit, ConversionTable) {
  const std::vector<Case> cases = {
      {edit("%c|%c", 'x', 0x141), "x|A"},             // the low byte only
      {edit("%d %d %d", 0, -7, -2147483647 - 1), "0 -7 -2147483648"},
      {edit("%x %x %x", 255, 0, -1), "ff 0 ffffffff"},
      {edit("%x", -256), "ffffff00"},
      {edit("%f|%f|%f", 1.5, -0.25, 0.0), "1.500000|-0.250000|0.000000"},
      {edit("[%s]", "\x95\x5C\x83\x5C"), "[\x95\x5C\x83\x5C]"},  // bytes untouched
      {edit("[%s]", ""), "[]"},
      // Not conversions: the pair stands as it is and takes no argument, so
      // the next conversion takes the first one.
      {edit("%%%s", "x"), "%%x"},
      {edit("%5d%s", "x"), "%5dx"},
      {edit("%-s%s", "x"), "%-sx"},
      {edit("%ld%s", "x"), "%ldx"},
      {edit("%X%S%s", "x"), "%X%Sx"},
      {edit("%.2f%d", 3), "%.2f3"},
      {edit("%\\%d", 3), "%\\3"},  // the byte after '%' is never an escape
      // Arguments strictly from left to right.
      {edit("%s=%d,%c,%x", "k", 10, 'z', 26), "k=10,z,1a"},
  };
  for (const auto& t : cases) EXPECT_EQ(t.got, t.want);
}

TEST(ErrEdit, BackslashesAndTheFormatEnd) {
  const std::vector<Case> cases = {
      {edit("\\%d%d", 4), "%d4"},    // an escaped '%' takes no argument
      {edit("a\\\\b"), "a\\b"},      // two backslashes give one
      {edit("\\n\\\"%d", 1), "n\"1"},  // escapes are taken literally, not decoded
      {edit("a%"), "a%"},            // a trailing '%'
      {edit("a\\"), "a\\"},          // a trailing backslash
      {edit(""), ""},
  };
  for (const auto& t : cases) EXPECT_EQ(t.got, t.want);
}

TEST(ErrEdit, CharZeroEndsTheTextButNotTheExpansion) {
  EXPECT_EQ(edit_bytes(4, "a%cbc", 0), std::string("a\0bc", 4));
}

TEST(ErrEdit, TheLimitOf1024Characters) {
  const std::string s24 = a(24);
  const std::string s25 = a(25);
  const std::vector<Case> cases = {
      // Plain text stops at 1024.
      {edit((a(1030) + "%d").c_str(), 1), a(1024)},
      // A %s of exactly the room left is written whole; then the text is
      // full and the expansion ends.
      {edit((a(1000) + "%s|").c_str(), s24.c_str()), a(1000) + s24},
      // One byte longer is dropped whole, the text around it stays, and it
      // still takes its argument.
      {edit((a(1000) + "%s|%s").c_str(), s25.c_str(), "next"), a(1000) + "|next"},
      {edit((a(1000) + "%s%s").c_str(), a(2000).c_str(), s24.c_str()), a(1000) + s24},
      // A number begun at 1023 characters is appended whole; nothing after it.
      {edit((a(1023) + "%d%s").c_str(), -123456, "x"), a(1023) + "-123456"},
      {edit((a(1023) + "%x").c_str(), -1), a(1023) + "ffffffff"},
      {edit((a(1023) + "%c%c").c_str(), 'y', 'z'), a(1023) + "y"},
      {edit((a(1023) + "\\%%d").c_str(), 1), a(1023) + "%"},
      {edit((a(1024) + "%d").c_str(), 1), a(1024)},
  };
  for (const auto& t : cases) {
    EXPECT_EQ(t.got.size(), t.want.size());
    EXPECT_EQ(t.got, t.want);
  }
}

TEST(ErrEdit, HugeFloatStaysInsideTheArea) {
  const std::string whole = edit("%f", 1e300);
  ASSERT_EQ(whole.size(), 308u);  // 301 digits, ".000000"
  EXPECT_EQ(whole.substr(0, 17), "10000000000000000");
  EXPECT_EQ(whole.substr(301), ".000000");
  // Begun near the limit it cannot fit the bytes behind it; ASan watches
  // that nothing is written past the area.
  for (std::size_t lead : {900u, 1000u, 1023u}) {
    const std::string got = edit((a(lead) + "%f%s").c_str(), 1e300, "x");
    EXPECT_LT(got.size(), static_cast<std::size_t>(kErrText + kErrExtra));
    EXPECT_EQ(got.substr(0, lead), a(lead));
  }
  EXPECT_EQ(edit("%f", -1e308).size(), 317u);  // '-', 309 digits, ".000000"
}

TEST(ErrEdit, CallsAreIndependent) {
  EXPECT_EQ(edit("%s", a(1024).c_str()), a(1024));
  EXPECT_EQ(edit("%d", 7), "7");
  EXPECT_EQ(edit("x"), "x");
}

// What errmsg writes on stderr.
template <typename F>
std::string stderr_of(F f) {
  testing::internal::CaptureStderr();
  f();
  return testing::internal::GetCapturedStderr();
}

TEST(Errmsg, WhatReachesStandardError) {
  const std::vector<Case> cases = {
      {stderr_of([] { errmsg("no free disk space\n"); }), "no free disk space\n"},
      {stderr_of([] { errmsg("a\\b\\\n"); }), "a\\b\\\n"},          // backslashes stay
      {stderr_of([] { errmsg("quit!\n"); }), "quit!\n"},
      // 0x81 0x25 is one double-byte character: its '%' is no conversion.
      {stderr_of([] { errmsg("\x81%d\n", 5); }), "\x81%d\n"},
      // With a '%', escapes apply and "%%" gives two.
      {stderr_of([] { errmsg("a\\b\\%c\n", 'x'); }), "ab%c\n"},
      {stderr_of([] { errmsg("100%% \\\\ %s\n", "x"); }), "100%% \\ x\n"},
      {stderr_of([] { errmsg("\"%s\": cannot create\n", "\x95\x5C\\a.url"); }),
       "\"\x95\x5C\\a.url\": cannot create\n"},
      // A %c of 0 ends the written message.
      {stderr_of([] { errmsg("a%cb\n", 0); }), "a"},
      // The finished text is not interpreted again.
      {stderr_of([] { errmsg("%s", "%d %s\\n"); }), "%d %s\\n"},
  };
  for (const auto& t : cases) EXPECT_EQ(t.got, t.want);
}

TEST(Errmsg, TwoMessagesInARowAreIndependent) {
  const std::string got = stderr_of([] {
    errmsg("%s: not found\n", "long-name.url");
    errmsg("%s\n", "x");
  });
  EXPECT_EQ(got, "long-name.url: not found\nx\n");
}

}  // namespace
