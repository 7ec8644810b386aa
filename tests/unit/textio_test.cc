// The text reader over whole files: CR LF at and across the seam of two raw
// reads, lone CRs, NULs, and the Ctrl-Z that ends a file on Windows only.
#include "support/textio.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/port.h"

namespace {

// Writes raw to a file and reads it back with read(&in, &got).
template <typename Read>
std::string read_back(const std::string& raw, Read read) {
  const std::string path = testing::TempDir() + "favlink_textio_test";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return "(not written)";
  std::fwrite(raw.data(), 1, raw.size(), f);
  std::fclose(f);
  std::string got;
  TextIn in;
  EXPECT_TRUE(text_open(&in, path.c_str()));
  read(&in, &got);
  text_close(&in);
  std::remove(path.c_str());
  return got;
}

// raw read back with text_getline, each line followed by '|'.
std::string read_back(const std::string& raw) {
  return read_back(raw, [](TextIn* in, std::string* got) {
    std::string line;
    while (text_getline(in, &line)) *got += line + '|';
  });
}

TEST(TextIn, TranslatesAsTheTextModeStreamDoes) {
  const std::string a(kTextInBuffer - 1, 'a');  // puts the next byte last in the first raw read
  // One row a line: clang-format would split each "\x1A" "b" pair apart.
  // clang-format off
  const struct { std::string raw, posix, windows; } rows[] = {
      {"ab\r\n\rc", "ab\n|\rc|", "ab\n|\rc|"},  // the header's example
      {"x\r\ny\r\rz\r\r\n\r", "x\n|y\r\rz\r\n|\r|", "x\n|y\r\rz\r\n|\r|"},
      {std::string("n\0\r\n", 4), std::string("n\0\n|", 4), std::string("n\0\n|", 4)},
      {a + "\r\nb", a + "\n|b|", a + "\n|b|"},
      {a + "\rb\r", a + "\rb\r|", a + "\rb\r|"},
      {"a\r\nb\x1A\r\nc", "a\n|b\x1A\n|c|", "a\n|b|"},
      {a + "\r\x1A" "b", a + "\r\x1A" "b|", a + "\r|"},
      {"\x1A" "a", "\x1A" "a|", ""},
  };
  // clang-format on
  for (const auto& row : rows) {
    EXPECT_EQ(read_back(row.raw), kCtrlZEndsText ? row.windows : row.posix) << row.raw.size();
  }
}

// The header's examples of a line looked at by its start: the rest taken
// whole, or passed over.
TEST(TextIn, ReadsOnOrSkipsTheRestOfALine) {
  EXPECT_EQ(read_back("URL=http://a/\n",
                      [](TextIn* in, std::string* got) {
                        text_readon(in, got, 4);
                        *got += '|';
                        text_readon(in, got, std::string::npos);
                      }),
            "URL=|http://a/\n");
  EXPECT_EQ(read_back("abc\nd",
                      [](TextIn* in, std::string* got) {
                        text_readon(in, got, 1);
                        text_skipline(in);
                        text_getline(in, got);
                      }),
            "d");
}

}  // namespace
