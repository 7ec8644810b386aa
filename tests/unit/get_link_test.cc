#include "shortcut/get_link.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* kUnrecognised = "]: can not recognize URL string\n";

TEST(TagEnd, FirstGreaterThanOutsideDoubleQuotes) {
  struct Case {
    const char* in;
    long want;  // offset of the result, -1 for null
  };
  const std::vector<Case> cases = {
      {"\"a\">x", 3},
      {"\"\">", 2},
      {"\"a>b\">", 5},                          // '>' inside the value
      {"\"a\" TITLE=\"x>y\" ID=z>cap</A>", 20},  // '>' inside a later value
      {"\"a\"\"b>\">", 7},
      {"\"a\" X=\"unclosed>", -1},
      {"\"a\"", -1},
      {"\"a>", -1},
      {"", -1},
  };
  for (const auto& t : cases) {
    const char* r = tag_end(t.in);
    EXPECT_EQ(r == nullptr ? -1 : r - t.in, t.want) << t.in;
  }
}

struct HrefCase {
  std::string in;
  const char* want;  // null: fails with the message
};

void check_href(const std::vector<HrefCase>& cases) {
  for (const auto& t : cases) {
    std::string q = t.in;
    testing::internal::CaptureStderr();
    const char* got = get_href(q.data());
    const std::string err = testing::internal::GetCapturedStderr();
    if (t.want == nullptr) {
      EXPECT_EQ(got, nullptr) << t.in;
      EXPECT_EQ(err, "[" + t.in + kUnrecognised) << t.in;
    } else {
      ASSERT_NE(got, nullptr) << t.in;
      EXPECT_STREQ(got, t.want) << t.in;
      EXPECT_EQ(err, "") << t.in;
    }
  }
}

TEST(GetHref, PlainValue) {
  check_href({
      {"\"http://a.example/\"", "http://a.example/"},
      {"\"http://a/\" TARGET=\"_blank\" ADD_DATE=\"1\"", "http://a/"},
      {"\"\"", ""},
      {"\"no-closing-quote", "no-closing-quote"},
      {"\" sp &amp; CASE \"", " sp &amp; CASE "},       // nothing trimmed or decoded
      {"\"Javascript:window.open('a')\"", "Javascript:window.open('a')"},  // mixed case
      {"\"jAVASCRIPT:x\"", "jAVASCRIPT:x"},
      {"\"javascrip\"", "javascrip"},
      {"\"\x95\x5C.html\"", "\x95\x5C.html"},
  });
}

TEST(GetHref, ScriptForm) {
  check_href({
      {"\"javascript:window.open('./a.html')\"", "a.html"},
      {"\"JAVASCRIPT:window.open('b.html','w')\"", "b.html"},
      {"\"javascript:window.open \t  ('x')\"", "x"},         // blanks and tabs before '('
      {"\"javascript:window.open( 'y' )\"", "y"},            // anything up to the quote
      {"\"javascript:window.open('././a')\"", "./a"},        // "./" removed once
      {"\"javascript:window.open('.x')\"", ".x"},
      {"\"javascript:window.open('./')\"", ""},
      {"\"javascript:window.open('')\"", ""},
      {"\"javascriptwindow.open('z')\"", "z"},              // the search starts right after the word
      {"\"javascript:window.open('1') window.open('2')\"", "1"},
      // Only in a later attribute of the same tag.
      {"\"javascript:void(0)\" ONCLICK=\"window.open('p.html')\"", "p.html"},
      {"\"javascript:window.open('a>b')\"", "a>b"},
  });
}

TEST(GetHref, ScriptFormFailures) {
  check_href({
      {"\"javascript:void(0)\"", nullptr},
      {"\"javascript:window.ope('a')\"", nullptr},
      {"\"javascript:window.open\n('a')\"", nullptr},  // only blanks and tabs are skipped
      {"\"javascript:window.open x('a')\"", nullptr},
      {"\"javascript:window.open(a)\"", nullptr},      // no single quote
      {"\"javascript:window.open('a)\"", nullptr},     // no second one
      {"\"javascript\"", nullptr},
      {"\"JAVASCRIPTwindow.ope", nullptr},
  });
}

TEST(GetHref, ScriptFormCutsTheInputAtTheClosingQuote) {
  std::string q = "\"javascript:window.open('a.html','w')\"";
  ASSERT_STREQ(get_href(q.data()), "a.html");
  EXPECT_STREQ(q.c_str(), "\"javascript:window.open('a.html");
  EXPECT_EQ(q[31], '\0');
  EXPECT_EQ(q.substr(32), ",'w')\"");
}

TEST(GetHref, InputLimit) {
  const std::string v1023(1023, 'a');
  std::string ok = "\"" + v1023;  // 1024 bytes
  ASSERT_EQ(ok.size(), 1024u);
  EXPECT_STREQ(get_href(ok.data()), v1023.c_str());

  std::string script = "\"javascript:window.open('" + std::string(997, 'b') + "')";
  ASSERT_EQ(script.size(), 1024u);
  EXPECT_STREQ(get_href(script.data()), std::string(997, 'b').c_str());

  // 1025 bytes are refused. The text does not fit the message, so the %s
  // is dropped whole and the rest of the message stays.
  std::string big = "\"" + v1023 + "a";
  testing::internal::CaptureStderr();
  EXPECT_EQ(get_href(big.data()), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), std::string("[") + kUnrecognised);
}

TEST(GetHref, ResultAreaIsReusedByTheNextCall) {
  std::string a = "\"first\"";
  std::string b = "\"2nd\"";
  char* r1 = get_href(a.data());
  char* r2 = get_href(b.data());
  EXPECT_EQ(r1, r2);
  EXPECT_STREQ(r1, "2nd");
}

TEST(GetCaption, MarkupAndQuotesRemoved) {
  struct Case {
    const char* in;
    const char* want;
  };
  const std::vector<Case> cases = {
      {"News", "News"},
      {"<IMG SRC=\"n.gif\">", ""},
      {"<B>Bold</B> text", "Bold text"},
      {"<IMG ALT=\"a>b\">cap", "cap"},        // '>' quoted inside the tag
      {"a \"<1>\" b", "a <1> b"},            // quoted outside a tag: kept as text
      {"say \"hi\"", "say hi"},
      {"a \"b <i>c</i>", "a b <i>c</i>"},    // an unpaired quote runs to the end
      {"a > b", "a  b"},                     // a stray '>' is dropped
      {"x<y", "x"},                          // a tag that never closes
      {"  &amp;\t ", "  &amp;\t "},          // blanks kept, entities not decoded
      {"\x95\x5C<b>\x8E\xA6</b>", "\x95\x5C\x8E\xA6"},
      {"", ""},
  };
  for (const auto& t : cases) {
    const char* got = get_caption(t.in);
    ASSERT_NE(got, nullptr) << t.in;
    EXPECT_STREQ(got, t.want) << t.in;
  }
}

TEST(GetCaption, InputLimit) {
  const std::string c1024(1024, 'c');
  EXPECT_STREQ(get_caption(c1024.c_str()), c1024.c_str());
  const std::string tagged = "<B>" + std::string(1017, 'd') + "</B>";
  ASSERT_EQ(tagged.size(), 1024u);
  EXPECT_STREQ(get_caption(tagged.c_str()), std::string(1017, 'd').c_str());

  testing::internal::CaptureStderr();
  EXPECT_EQ(get_caption((c1024 + "c").c_str()), nullptr);
  EXPECT_EQ(get_caption((c1024 + "<").c_str()), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // refused silently
}

}  // namespace
