#include "support/textio.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// What a text stream reads: each CR LF pair made one LF, over the whole
// stream at once.
std::string translate(const std::string& raw) {
  std::string text;
  text.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    text += raw[i];
  }
  return text;
}

// The pieces fgets(buf, size, f) gives from that text: cut after each LF
// and after every size-1 bytes.
std::vector<std::string> cut(const std::string& text, int size) {
  std::vector<std::string> pieces;
  const auto room = static_cast<std::size_t>(size - 1);
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n = 0;
    while (n < room && i + n < text.size()) {
      if (text[i + n++] == '\n') break;
    }
    pieces.push_back(text.substr(i, n));
    i += n;
  }
  return pieces;
}

constexpr std::size_t kSeam = kTextInBuffer;

// Inputs that put CR, LF and NUL at the places where a reader can go wrong.
std::vector<std::string> inputs() {
  using namespace std::string_literals;
  std::vector<std::string> v = {
      "", "ab\r\ncd", "ab\r\ncd\r\n", "a\r", "\r", "\n", "\r\r\n", "a\r\r\nb", "\r\n\r\n",
      "\n\r\r\r", "a\rb\r\r\nc\n\r", "a\0b\nc\0"s, "\0\r\n\0"s, "\r\0\n"s,
      std::string(1023, 'x') + "\n", std::string(1023, 'x') + "\r\n",
      std::string(1022, 'x') + "\r\n", std::string(1024, 'x') + "\n",
      std::string(2047, 'x') + "\r\n", std::string(2048, 'x') + "\n",
      std::string(5000, 'x'),
  };
  // CR LF, lone CRs and CR CR LF across the first read-ahead seam, and across
  // the second, which lies one byte earlier when a CR was held back.
  for (std::size_t at : {kSeam - 2, kSeam - 1, kSeam, kSeam + 1, 2 * kSeam - 3, 2 * kSeam - 2,
                         2 * kSeam - 1, 2 * kSeam}) {
    for (const char* tail : {"\r\n", "\r", "\r\r\n", "\r\r", "\r\n\r\n", "\n"}) {
      std::string s(at, 'x');
      for (std::size_t i = 700; i < at; i += 777) s[i] = '\n';
      s += tail;
      v.push_back(s);
      v.push_back(s + "end\r\n");
    }
  }
  std::string both(2 * kSeam + 10, 'y');
  both[kSeam - 1] = '\r';
  both[kSeam] = '\n';
  both[2 * kSeam - 2] = '\r';
  both[2 * kSeam - 1] = '\n';
  v.push_back(both);
  // Random files, fixed seed: each with its own density of line ends, so
  // that some have only long lines.
  std::mt19937 rng(20240611);
  for (int k = 0; k < 16; ++k) {
    const std::size_t len = std::uniform_int_distribution<std::size_t>(0, 3 * kSeam)(rng);
    const double lf = k % 4 == 0 ? 0.0002 : 0.1;
    std::discrete_distribution<int> pick({lf, 0.15, 0.03, 0.8 - lf});
    std::string s;
    for (std::size_t i = 0; i < len; ++i) {
      static const char bytes[] = {'\n', '\r', '\0', 'a'};
      s += bytes[pick(rng)];
    }
    v.push_back(s);
  }
  return v;
}

class TextGets : public testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = testing::TempDir() + "favlink-textio-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string write(const std::string& bytes) {
    const std::string path = (dir_ / ("in" + std::to_string(++files_))).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  fs::path dir_;
  int files_ = 0;
};

TEST_F(TextGets, MatchesTheReferenceOnEveryInput) {
  int n = 0;
  for (const std::string& raw : inputs()) {
    const std::string path = write(raw);
    const std::string text = translate(raw);
    for (int size : {2, 3, 61, 1024, 2048}) {
      if (size < 61 && raw.size() > 5000) continue;  // one byte a call: small inputs only
      SCOPED_TRACE("input " + std::to_string(n) + " (" + std::to_string(raw.size()) +
                   " bytes), size " + std::to_string(size));
      const std::vector<std::string> want = cut(text, size);
      TextIn in;
      ASSERT_TRUE(text_open(&in, path.c_str()));
      std::vector<char> buf(static_cast<std::size_t>(size));  // exact: ASan sees overruns
      for (std::size_t k = 0; k < want.size(); ++k) {
        std::memset(buf.data(), 'U', buf.size());
        ASSERT_EQ(text_gets(buf.data(), size, &in), buf.data()) << "piece " << k;
        const std::string& w = want[k];
        ASSERT_EQ(std::string(buf.data(), w.size()), w) << "piece " << k;
        ASSERT_EQ(buf[w.size()], '\0') << "piece " << k;
      }
      EXPECT_EQ(text_gets(buf.data(), size, &in), nullptr);
      EXPECT_EQ(text_gets(buf.data(), size, &in), nullptr);  // and it stays at the end
    }
    ++n;
  }
}

TEST_F(TextGets, ReferenceItself) {
  // The reference must not agree with the reader by sharing its mistakes.
  using V = std::vector<std::string>;
  EXPECT_EQ(cut(translate("ab\r\ncd"), 1024), (V{"ab\n", "cd"}));
  EXPECT_EQ(cut(translate("a\r\r\nb\r"), 1024), (V{"a\r\n", "b\r"}));
  EXPECT_EQ(cut(translate("abcde\n"), 3), (V{"ab", "cd", "e\n"}));
  EXPECT_EQ(cut(translate(""), 1024), V{});
}

TEST_F(TextGets, OpenRefusesFoldersAndMissingFiles) {
  TextIn in;
  EXPECT_FALSE(text_open(&in, dir_.c_str()));
  EXPECT_FALSE(text_open(&in, (dir_ / "missing").c_str()));
  const std::string path = write("x\n");
  ASSERT_TRUE(text_open(&in, path.c_str()));
  char buf[8];
  EXPECT_STREQ(text_gets(buf, sizeof buf, &in), "x\n");
  text_close(&in);
  text_close(&in);  // twice is harmless
}

}  // namespace
