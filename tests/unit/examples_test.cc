// The worked examples of the headers' comments, one row each, so that a
// comment and its code cannot drift apart. A header that gains or changes an
// example gains or changes its row here.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

#include "app/favlink.h"
#include "diag/errmsg.h"
#include "linkpage/markup.h"
#include "linkpage/put_link.h"
#include "shortcut/get_link.h"
#include "shortcut/make_url.h"
#include "shortcut/refs.h"
#include "shortcut/scan_steps.h"
#include "shortcut/tree_url.h"
#include "shortcut/url_steps.h"
#include "support/freespace.h"
#include "support/names.h"
#include "support/port.h"
#include "support/sjis.h"
#include "support/textio.h"

namespace {

namespace fs = std::filesystem;

// A scratch folder made the current one for the test's life.
class InFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    old_ = fs::current_path();
    dir_ = fs::temp_directory_path() / ("favlink-examples-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directory(dir_);
    fs::current_path(dir_);
  }
  void TearDown() override {
    fs::current_path(old_);
    fs::remove_all(dir_);
  }
  static std::string read(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  static void write(const char* path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

 private:
  fs::path old_, dir_;
};

std::string edit(const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  std::string r = err_edit(fmt, ap);
  va_end(ap);
  return r;
}

// What f writes on standard output.
template <typename F>
std::string out_of(F f) {
  ::testing::internal::CaptureStdout();
  f();
  std::fflush(stdout);
  return ::testing::internal::GetCapturedStdout();
}

// s changed in place by f, as a std::string.
template <typename F>
std::string changed(std::string s, F f) {
  f(s.data());
  return s.c_str();
}

TEST(Examples, App) {
  for (auto [s, want] : {std::pair{"my-", false}, {"a.b", true}, {"\x9F/x", true}, {"\x83\x5C", false}}) {
    EXPECT_EQ(illegal_name(s), want) << s;
  }
  EXPECT_EQ(to_int("  -12x"), -12);
  EXPECT_EQ(to_int("x"), 0);
  EXPECT_EQ(to_int("99999999999"), 2147483647);
  EXPECT_EQ(edit("[%s] 100\\%", "x"), "[x] 100%");
}

TEST(Examples, Sjis) {
  const char* s = "\x95\x5C\x8E\xA6";
  EXPECT_EQ(Strchr(s, '\\'), nullptr);
  s = "a\\b";
  EXPECT_EQ(Strchr(s, '\\'), s + 1);
  s = "\x83\x5C\x83\x74\x83\x67\\a";
  EXPECT_EQ(Strrchr(s, '\\'), s + 6);
  EXPECT_EQ(changed("a\\b\x83\x5C", [](char* t) { ChgChr(t, '\\', '/'); }), "a/b\x83\x5C");
  s = "a.b";
  EXPECT_EQ(index2(s, "."), s + 1);
  EXPECT_EQ(index2("\x83\x5C", "\\"), nullptr);
  s = "\t  x";
  EXPECT_EQ(sp_skip(s), s + 3);
  for (auto [in, want] : {std::pair{"CON", "con"}, {"\x82\x60", "\x82\x60"}, {"\xA0" "A", "\xA0" "A"}}) {
    EXPECT_EQ(changed(in, [](char* t) { to_lower(t); }), want);
  }
  char root[4];
  for (auto [path, want] : {std::pair{"c:\\x", "c:\\"}, {"C:x", "C:\\"}, {"\\\\srv\\s", "\\"}, {"", "\\"}}) {
    free_space_root(path, root);
    EXPECT_STREQ(root, want) << path;
  }
}

TEST(Examples, Names) {
  const bool windows = kPathSep == '\\';
  for (auto [in, want] : {std::pair{"\x83\x5C", "\xE3\x82\xBD"}, {"a\x81!", "a\x81!"},
                          {"\x85\x5C", windows ? "\xEF\xBF\xBD!" : "\x85\x5C"}}) {
    std::string out;
    cp932_to_utf8(in, &out);
    EXPECT_EQ(out, want) << in;
  }
}

TEST(Examples, Refs) {
  EXPECT_EQ(changed("a&amp;b&#233;&#0;&x;", [](char* t) { decode_refs(t, true); }), "a&b\xC3\xA9&#0;&x;");
  for (const char* s : {"https://x", "mailto:a", "a.b-c+d:"}) EXPECT_TRUE(uri_scheme(s)) << s;
  for (const char* s : {"C:\\x", "x", ":", "1a:"}) EXPECT_FALSE(uri_scheme(s)) << s;
}

TEST(Examples, GetLink) {
  std::string q = "\"a>b\" title=\"x>y\">cap";
  EXPECT_EQ(tag_end(q.data()), q.data() + q.find(">cap"));
  std::string js = "\"javascript:window.open ('./a.html')";
  EXPECT_STREQ(get_href(js.data()), "a.html");
  EXPECT_TRUE(script_href("\"javascript:x"));
  EXPECT_FALSE(script_href("\"JavaScript:x"));
  EXPECT_FALSE(script_href("\"a.html"));
  EXPECT_STREQ(get_caption("<IMG SRC=\"x.gif\">News \"<1>\""), "News <1>");
}

TEST(Examples, ScanSteps) {
  std::string line = "a<!--<A -->b<B";
  bool in_comment = false;
  EXPECT_EQ(next_tag(line.data(), &in_comment), line.data() + line.find("<B"));
  line = "x<!--y";
  EXPECT_EQ(next_tag(line.data(), &in_comment), nullptr);
  EXPECT_TRUE(in_comment);
  line = "<A NAME=x HREF=\"u\">";
  EXPECT_EQ(find_href(line.data()), line.data() + line.find('H'));
  line = "<A NAME=x>";
  EXPECT_EQ(find_href(line.data()), line.data() + line.find('>'));
  line = "x<B></a>";
  EXPECT_EQ(find_tag(line.data(), "</A>", "</a>"), line.data() + 4);
}

TEST(Examples, NameSteps) {
  for (auto [in, want] : {std::pair{"a/b:c", "a!b;c"}, {"\x83\x5C", "\x83\x5C"}, {"\xE3/x", "\xE3!x"}, {"...", "  ."}}) {
    EXPECT_EQ(changed(in, [](char* t) { clean_name(t); }), want) << in;
  }
  EXPECT_EQ(changed("\xC3\x9F\\", [](char* t) { clean_name(t, true); }), "\xC3\x9F!");
  for (const char* s : {"Nul"}) EXPECT_TRUE(is_reserved(s)) << s;
  for (const char* s : {"con ", "com1", "con.txt"}) EXPECT_FALSE(is_reserved(s)) << s;
  for (const char* s : {"con.txt", "COM1", "lpt9.x"}) EXPECT_TRUE(is_reserved(s, true)) << s;
  for (const char* s : {"com0", "console", "con "}) EXPECT_FALSE(is_reserved(s, true)) << s;
  const NameRules tree{true, false};
  EXPECT_EQ(changed("a\nb", [](char* t) { cut_line_feed(t, NameRules{}); }), "a");
  EXPECT_EQ(changed("\x81\nb", [](char* t) { cut_line_feed(t, NameRules{}); }), "\x81\nb");
  EXPECT_EQ(changed("\x81\nb", [&](char* t) { cut_line_feed(t, tree); }), "\x81");
  EXPECT_EQ(changed("a/b", [](char* t) { (void)clean_link_name(t, NameRules{}); }), "a!b");
  std::string s = "..x\t";
  EXPECT_STREQ(clean_link_name(s.data(), tree), "x ");
  std::string caption = " a/b\nc";
  EXPECT_STREQ(link_name(Link{caption.data(), "u"}, "", NameRules{}), "a!b");
  caption = "?*";
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(link_name(Link{caption.data(), "u"}, "", NameRules{}), nullptr);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "[?*]: invalid name for the link of \"u\"\n");
  ShortcutOptions o;
  const TreeRun run(o);
  for (auto [in, want] : {std::pair{" a/b. ", "a!b"}, {"con", "_con"}}) {
    std::string c = in, name;
    EXPECT_TRUE(folder_name(run, c.data(), &name));
    EXPECT_EQ(name, want);
  }
  for (const char* in : {"..", ".", " "}) {
    std::string c = in, name;
    EXPECT_FALSE(folder_name(run, c.data(), &name)) << in;
  }
}

TEST(Examples, PathSteps) {
  UrlFile f;
  std::snprintf(f.name.data(), f.name.size(), "a.url");
  for (auto [folder, want] : {std::pair{"out", "out/a.url"}, {"out/", "out//a.url"}, {"", "a.url"}}) {
    ASSERT_TRUE(join_path(folder, &f));
    std::string got = f.path.data();
    for (char& c : got) c = c == kPathSep ? '/' : c;
    EXPECT_EQ(got, want);
  }
  std::string caption = "c";
  ShortcutOptions o;
  ASSERT_TRUE(join_url(Link{caption.data(), "a.html"}, false, "dir/", &f));
  EXPECT_STREQ(f.url.data(), "dir/a.html");
  EXPECT_FALSE(join_url(Link{caption.data(), "a.html"}, false, "", &f));
}

using Files = InFolder;

TEST_F(Files, Writers) {
  ShortcutOptions o;
  std::snprintf(o.url_prefix.data(), o.url_prefix.size(), "dir/");
  std::string caption = "a/b:c";
  ASSERT_EQ(make_url(Link{caption.data(), "a.html"}, o), UrlResult::kWritten);
  EXPECT_EQ(read("a!b;c.url"), "[InternetShortcut]\r\nURL=dir/a.html\r\n");

  TreeRun run(o);
  for (const char* c : {"..con", "A", "A"}) {
    caption = c;
    ASSERT_EQ(make_tree_url(&run, Link{caption.data(), "https://x/"}, ""), UrlResult::kWritten) << c;
  }
  for (const char* name : {"_con.url", "A.url", "A (2).url"}) EXPECT_TRUE(fs::exists(name)) << name;
}

TEST_F(Files, Readers) {
  write("t", "ab\r\ncd");
  TextIn in;
  ASSERT_TRUE(text_open(&in, "t"));
  char buf[1024];
  EXPECT_STREQ(text_gets(buf, sizeof buf, &in), "ab\n");
  EXPECT_STREQ(text_gets(buf, sizeof buf, &in), "cd");
  EXPECT_EQ(text_gets(buf, sizeof buf, &in), nullptr);

  if (kPathSep == '/') {  // a backslash is a byte of the name here, so the file can be made
    write("News\\b.url", "URL=u2\n");
    std::string arg = "News\\b.url";
    g_page = LinkPage{};
    EXPECT_EQ(out_of([&] { put_link(arg.data()); }), "<H3>[News]</H3>\n<OL>\n<LI><A href=\"u2\">b</A><BR>\n");
  }
}

TEST(Examples, Markup) {
  g_page = LinkPage{};
  EXPECT_EQ(out_of([] { put_text("a&b<\"c\">"); }), "a&b<\"c\">");
  g_page.escaped = true;
  EXPECT_EQ(out_of([] { put_text("a&b<\"c\">"); }), "a&amp;b&lt;&quot;c&quot;&gt;");
  g_page.title = "A&B";
  const std::string head = out_of([] { put_head("UTF-8"); });
  EXPECT_NE(head.find("charset=UTF-8\">\n"), std::string::npos);
  EXPECT_TRUE(head.ends_with("\n<CENTER><H2>A&amp;B</H2></CENTER><HR>\n")) << head;

  g_page = LinkPage{};
  EXPECT_EQ(out_of([] { new_list(nullptr); }), "<OL>\n");
  EXPECT_EQ(out_of([] { put_item("u", "n"); }), "<LI><A href=\"u\">n</A><BR>\n");
  EXPECT_EQ(out_of([] { put_foot(); }), "</OL>\n<HR>\n</BODY>\n</HTML>\n");
  g_page.format = 1;
  g_page.first_list = false;
  EXPECT_EQ(out_of([] { new_list("Tech/Web"); }), "</DL><HR>\n<H3>[Tech/Web]</H3>\n<DL>\n");
  g_page.entry = 7;
  EXPECT_EQ(out_of([] { put_item("u", "n"); }), "<DT>07. <A href=\"u\">n</A>\n<DD> \n");

  g_page.format = 2;
  g_page.open = {"News", "Old"};
  EXPECT_EQ(out_of([] { bookmark_folders("News\\Daily"); }), "</DL><p>\n<DT><H3>Daily</H3>\n<DL><p>\n");
  EXPECT_EQ(out_of([] { bookmark_item("u", "n"); }), "<DT><A HREF=\"u\">n</A>\n");
}

}  // namespace
