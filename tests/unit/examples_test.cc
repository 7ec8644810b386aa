// The worked examples of the headers' comments, a row each, so that a comment
// and its code cannot drift apart (those of errmsg.h, refs.h, sjis.h and
// textio.h stand among the rows of their own tables).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/favlink.h"
#include "linkpage/markup.h"
#include "linkpage/put_link.h"
#include "shortcut/get_link.h"
#include "shortcut/make_url.h"
#include "shortcut/scan_steps.h"
#include "shortcut/tree_url.h"
#include "support/freespace.h"
#include "support/names.h"
#include "support/port.h"

namespace {

namespace fs = std::filesystem;
constexpr bool kWindows = kPathSep == '\\';

// s changed in place by f.
template <typename F>
std::string changed(std::string s, F f) {
  f(s.data());
  return s.c_str();
}

// What f writes on standard output.
template <typename F>
std::string out_of(F f) {
  testing::internal::CaptureStdout();
  f();
  std::fflush(stdout);
  return testing::internal::GetCapturedStdout();
}

// Where f finds something in s, as an offset (-1: null).
template <typename F>
std::ptrdiff_t at(std::string s, F f) {
  const char* p = f(s.data());
  return p == nullptr ? -1 : p - s.data();
}

// The text f gives for s ("(null)" for null).
template <typename F>
std::string result(std::string s, F f) {
  const char* p = f(s.data());
  return p == nullptr ? "(null)" : p;
}

TEST(Examples, OptionsAndLinks) {
  for (auto [s, want] : {std::pair{"my-", false}, {"a.b", true}, {"\x9F/x", true}, {"\x83\x5C", false}}) EXPECT_EQ(illegal_name(s), want) << s;
  EXPECT_EQ(to_int("  -12x"), -12);
  EXPECT_EQ(to_int("x"), 0);
  EXPECT_EQ(to_int("99999999999"), 2147483647);
  EXPECT_EQ(at("\"a>b\" title=\"x>y\">cap", tag_end), 17);
  EXPECT_STREQ(get_href(std::string("\"javascript:window.open ('./a.html')").data()), "a.html");
  EXPECT_TRUE(script_href("\"javascript:x") && !script_href("\"JavaScript:x") && !script_href("\"a.html"));
  EXPECT_STREQ(get_caption("<IMG SRC=\"x.gif\">News \"<1>\""), "News <1>");
  bool comment = false;
  EXPECT_EQ(at("a<!--<A -->b<B", [&](char* s) { return next_tag(s, &comment); }), 12);
  EXPECT_EQ(at("x<!--y", [&](char* s) { return next_tag(s, &comment); }), -1);
  EXPECT_TRUE(comment);
  EXPECT_EQ(at("<A NAME=x HREF=\"u\">", find_href), 10);
  EXPECT_EQ(at("<A NAME=x>", find_href), 9);
  EXPECT_EQ(at("x<B></a>", [](char* s) { return find_tag(s, "</A>", "</a>"); }), 4);
}

TEST(Examples, Names) {
  for (auto [in, want] : {std::pair{"a/b:c", "a!b;c"}, {"\x83\x5C", "\x83\x5C"}, {"\xE3/x", "\xE3!x"}, {"...", "  ."}}) {
    EXPECT_EQ(changed(in, [](char* s) { clean_name(s); }), want) << in;
  }
  EXPECT_EQ(changed("\xC3\x9F\\", [](char* s) { clean_name(s, true); }), "\xC3\x9F!");
  EXPECT_TRUE(is_reserved("Nul"));
  for (const char* s : {"con ", "com1", "con.txt"}) EXPECT_FALSE(is_reserved(s)) << s;
  for (const char* s : {"con.txt", "COM1", "lpt9.x"}) EXPECT_TRUE(is_reserved(s, true)) << s;
  for (const char* s : {"com0", "console", "con "}) EXPECT_FALSE(is_reserved(s, true)) << s;
  const NameRules sjis{}, tree{true, false};
  EXPECT_EQ(changed("a\nb", [&](char* s) { cut_line_feed(s, sjis); }), "a");
  EXPECT_EQ(changed("\x81\nb", [&](char* s) { cut_line_feed(s, sjis); }), "\x81\nb");
  EXPECT_EQ(changed("\x81\nb", [&](char* s) { cut_line_feed(s, tree); }), "\x81");
  EXPECT_EQ(changed("a/b", [&](char* s) { clean_link_name(s, sjis); }), "a!b");
  EXPECT_EQ(result("..x\t", [&](char* s) { return clean_link_name(s, tree); }), "x ");
  EXPECT_EQ(result(" a/b\nc", [&](char* s) { return link_name(Link{s, "u"}, "", sjis); }), "a!b");
  testing::internal::CaptureStderr();
  EXPECT_EQ(link_name(Link{std::string("?*").data(), "u"}, "", sjis), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "[?*]: invalid name for the link of \"u\"\n");
  const ShortcutOptions o;
  const TreeRun run(o);
  for (auto [in, want] : {std::pair{" a/b. ", "a!b"}, {"con", "_con"}, {"..", ""}, {".", ""}, {" ", ""}}) {
    std::string name;
    EXPECT_EQ(folder_name(run, std::string(in).data(), &name), *want != '\0') << in;
    EXPECT_EQ(name, want);
  }
  for (auto [in, want] : {std::pair{"\x83\x5C", "\xE3\x82\xBD"}, {"a\x81!", "a\x81!"}, {"\x85\x5C", kWindows ? "\xEF\xBF\xBD!" : "\x85\x5C"}}) {
    std::string out;
    cp932_to_utf8(in, &out);
    EXPECT_EQ(out, want) << in;
  }
  char root[4];
  for (auto [path, want] : {std::pair{"c:\\x", "c:\\"}, {"C:x", "C:\\"}, {"\\\\srv\\s", "\\"}, {"", "\\"}}) {
    free_space_root(path, root);
    EXPECT_STREQ(root, want) << path;
  }
}

TEST(Examples, Files) {
  const fs::path back = fs::current_path(), dir = testing::TempDir() + "favlink-examples";
  fs::create_directories(dir);
  fs::current_path(dir);
  UrlFile f;
  std::snprintf(f.name.data(), f.name.size(), "a.url");
  for (auto [folder, want] : {std::pair{"out", "out/a.url"}, {"out/", "out//a.url"}, {"", "a.url"}}) {
    EXPECT_TRUE(join_path(folder, &f));
    std::string got = f.path.data();
    std::replace(got.begin(), got.end(), kPathSep, '/');
    EXPECT_EQ(got, want);
  }
  std::string caption = "a/b:c";
  EXPECT_FALSE(join_url(Link{caption.data(), "a.html"}, false, "", &f));
  ShortcutOptions o;
  std::snprintf(o.url_prefix.data(), o.url_prefix.size(), "dir/");
  EXPECT_EQ(make_url(Link{caption.data(), "a.html"}, o), UrlResult::kWritten);
  EXPECT_EQ(fs::file_size("a!b;c.url"), 36u);  // "[InternetShortcut]\r\nURL=dir/a.html\r\n"
  TreeRun run(o);
  for (const char* c : {"..con", "A", "A"}) EXPECT_EQ(make_tree_url(&run, Link{std::string(c).data(), "https://x/"}, ""), UrlResult::kWritten);
  EXPECT_TRUE(fs::exists("_con.url") && fs::exists("A.url") && fs::exists("A (2).url"));
  if (!kWindows) {  // a backslash is a byte of a POSIX name
    std::FILE* u = std::fopen("News\\b.url", "w");
    std::fputs("URL=u2\n", u);
    std::fclose(u);
    g_page = LinkPage{};
    EXPECT_EQ(out_of([] { put_link(std::string("News\\b.url").data()); }), "<H3>[News]</H3>\n<OL>\n<LI><A href=\"u2\">b</A><BR>\n");
  }
  fs::current_path(back);
  fs::remove_all(dir);
}

TEST(Examples, Markup) {
  g_page = LinkPage{};
  EXPECT_EQ(out_of([] { put_text("a&b<\"c\">"); }), "a&b<\"c\">");
  EXPECT_EQ(out_of([] { new_list(nullptr); put_item("u", "n"); put_foot(); }), "<OL>\n<LI><A href=\"u\">n</A><BR>\n</OL>\n<HR>\n</BODY>\n</HTML>\n");
  g_page.escaped = true;
  g_page.title = "A&B";
  EXPECT_EQ(out_of([] { put_text("a&b<\"c\">"); }), "a&amp;b&lt;&quot;c&quot;&gt;");
  EXPECT_TRUE(out_of([] { put_head("UTF-8"); }).ends_with("charset=UTF-8\">\n<TITLE>Favorite Links</TITLE>\n</HEAD>\n<BODY>\n<CENTER><H2>A&amp;B</H2></CENTER><HR>\n"));
  g_page.format = 1;
  g_page.first_list = false;
  g_page.entry = 7;
  EXPECT_EQ(out_of([] { put_item("u", "n"); new_list("Tech/Web"); }), "<DT>07. <A href=\"u\">n</A>\n<DD> \n</DL><HR>\n<H3>[Tech/Web]</H3>\n<DL>\n");
  g_page.open = {"News", "Old"};
  EXPECT_EQ(out_of([] { bookmark_folders("News\\Daily"); bookmark_item("u", "n"); }), "</DL><p>\n<DT><H3>Daily</H3>\n<DL><p>\n<DT><A HREF=\"u\">n</A>\n");
}

}  // namespace
