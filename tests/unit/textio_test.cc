// The text reader over whole files: CR LF at and across the seam of two raw
// reads, lone CRs, NULs, and the Ctrl-Z that ends a file on Windows only.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/port.h"
#include "support/textio.h"

namespace {

// Writes raw to a file of the test's own and reads it back line by line
// (getline) or in pieces of size bytes (gets); each line or piece is followed
// by '|' in the result.
std::string read_back(const std::string& raw, int size) {
  const std::string path = testing::TempDir() + "favlink_textio_test";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  EXPECT_NE(f, nullptr);
  if (f == nullptr) return "(not written)";
  std::fwrite(raw.data(), 1, raw.size(), f);
  std::fclose(f);
  std::string got;
  TextIn in;
  EXPECT_TRUE(text_open(&in, path.c_str()));
  if (size == 0) {
    std::string line;
    while (text_getline(&in, &line)) got += line + '|';
  } else {
    char piece[16];
    while (text_gets(piece, size, &in) != nullptr) got += std::string(piece) + '|';
  }
  text_close(&in);
  std::remove(path.c_str());
  return got;
}

TEST(TextIn, TranslatesAsTheTextModeStreamDoes) {
  const std::string a(kTextInBuffer - 1, 'a');  // puts the next byte last in the first read
  struct Row {
    std::string raw;
    int size;  // 0: text_getline, else text_gets with this size
    std::string posix, windows;
  };
  const Row rows[] = {
      {"x\r\ny\r\rz\r\r\n\r", 0, "x\n|y\r\rz\r\n|\r|", "x\n|y\r\rz\r\n|\r|"},
      {std::string("n\0\r\n", 4), 0, std::string("n\0\n|", 4), std::string("n\0\n|", 4)},
      {a + "\r\nb", 0, a + "\n|b|", a + "\n|b|"},
      {a + "\rb\r", 0, a + "\rb\r|", a + "\rb\r|"},
      {"a\r\nb\x1A\r\nc", 0, "a\n|b\x1A\n|c|", "a\n|b|"},
      {a + "\r\x1A" "b", 0, a + "\r\x1A" "b|", a + "\r|"},
      {"\x1A" "a", 0, "\x1A" "a|", ""},
      {"abcdef\r\ng", 4, "abc|def|\n|g|", "abc|def|\n|g|"},
      {"", 4, "", ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(read_back(row.raw, row.size), kCtrlZEndsText ? row.windows : row.posix)
        << "raw bytes " << row.raw.size();
  }
}

}  // namespace
