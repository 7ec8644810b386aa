// What the binary cannot show, each a table: the worked examples of the
// headers' comments, a row each, so that a comment and its code cannot drift
// apart (a header that gains or changes an example gains or changes its row
// here); then formats that no message uses, and the lead-byte and reference
// rules at boundaries no name reaches.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "app/favlink.h"
#include "diag/errmsg.h"
#include "linkpage/markup.h"
#include "linkpage/put_link.h"
#include "shortcut/get_link.h"
#include "shortcut/join_lines.h"
#include "shortcut/make_url.h"
#include "shortcut/refs.h"
#include "shortcut/scan_steps.h"
#include "shortcut/tree_steps.h"
#include "shortcut/tree_url.h"
#include "support/charset.h"
#include "support/folder.h"
#include "support/freespace.h"
#include "support/port.h"
#include "support/sjis.h"
#include "support/textio.h"
#include "support/utf7.h"
#include "support/utf8.h"

namespace {

constexpr bool kWindows = kPathSep == '\\';
const NameRules kSjis{}, kTree{true, false};
const ShortcutOptions kNoOptions;
const DeviceNames kDevices = DeviceNames::kWindows;

// Results as text: a bool, a text or null, the parts in order (a braced list
// is evaluated left to right, a chain of + is not), s after f changed it in
// place, the text f gives for s, where f finds something in s, and what f
// writes on standard output from a fresh page of a format type. One helper a
// line, as a table of the rows' vocabulary.
// clang-format off
std::string yes(bool b) { return b ? "true" : "false"; }
std::string text(const char* s) { return s == nullptr ? "null" : s; }
std::string cat(std::initializer_list<std::string> parts) { std::string all; for (const std::string& p : parts) all += p; return all; }
template <typename F> std::string changed(std::string s, F f) { f(s.data()); return s.c_str(); }
template <typename F> std::string gives(std::string s, F f) { return text(f(s.data())); }
template <typename F> std::string at(std::string s, F f) { const char* p = f(s.data()); return p ? "s+" + std::to_string(p - s.data()) : "null"; }
template <typename F> std::string out_of(const LinkPageOptions& options, F f) {
  LinkPage page(options);
  testing::internal::CaptureStdout();
  f(&page);
  std::fflush(stdout);
  return testing::internal::GetCapturedStdout();
}
std::string edit(const char* fmt, ...) { va_list ap; va_start(ap, fmt); std::string r = err_edit(fmt, ap); va_end(ap); return r; }
std::string u7(const char* s) { std::string out; return utf7_to_utf8(s, &out) ? out : "false"; }
std::string to7(std::string_view s) { std::string out; utf8_to_utf7(s, &out); return out + " "; }
std::string a(std::size_t n) { return std::string(n, 'a'); }
std::string enc(std::uint32_t c) { char b[kUtf8Max]; return std::string(b, utf8_encode(c, b)); }
std::string len8(std::string_view s) { return std::to_string(utf8_length(reinterpret_cast<const unsigned char*>(s.data()), s.size())) + " "; }
std::string prefix8(std::string_view s) { std::size_t used = 0; return utf8_prefix(reinterpret_cast<const unsigned char*>(s.data()), s.size(), &used) ? "true," + std::to_string(used) + " " : "false "; }
bool label_is(const char* label, Charset want) { Charset c = Charset::kEucJp; return charset_of_label(label, &c) && c == want; }
std::string converted(Charset c, const char* s) { std::string out; charset_to_utf8(c, s, &out); return out; }
std::string names_of(Charset c) { return std::string(charset_names(c).iconv) + ", " + std::to_string(charset_names(c).code_page) + " "; }
std::string utf8_of(const char* s) { std::string out; cp932_to_utf8(s, &out); return out; }
std::string char932(const char* s) { std::string out; return cp932_char(reinterpret_cast<const unsigned char*>(s), std::strlen(s), &out) ? out + "|" : "false"; }
std::string fixed(void (*f)(std::string_view, std::string*), std::string_view s) { std::string out; f(s, &out); return out + "|"; }
std::string collapsed(const char* s) { std::string out; collapse_blanks(s, &out); return out + "|"; }
template <typename F> std::string stepped(const char* s, F f) { std::string t = s; f(&t); return t + "|"; }
std::string root_of(const char* path) { char root[4]; free_space_root(path, root); return root; }
std::string folder_of(const char* caption) { std::string name; return folder_name(TreeRun(kNoOptions), std::string(caption).data(), &name) ? name : "false"; }
std::string url_of(const char* url, const char* prefix) { UrlFile f; return join_url(Link{std::string("c").data(), url}, false, prefix, &f) ? f.url.data() : "false"; }
std::string joined(const char* folder) {
  UrlFile f;
  std::snprintf(f.name.data(), f.name.size(), "a.url");
  std::string path = join_path(folder, &f) ? f.path.data() : "false";
  std::replace(path.begin(), path.end(), kPathSep, '/');
  return path;
}
std::string head_from_charset() {
  const std::string head = out_of({.title = "A&B"}, [](LinkPage* p) { p->escaped = true; put_head(*p, "UTF-8"); });
  return head.substr(head.find("charset="));
}
std::string tags(const char* tag) { std::size_t n = 0; const char* v = attribute_value(tag, tag + std::strlen(tag), "tags", &n); return v != nullptr ? std::string(v, n) + "|" : "null|"; }
std::string added(const char* tag) { return std::to_string(added_time(tag, tag + std::strlen(tag))); }
std::string meta(const char* tag, Charset want) {
  Charset c = Charset::kShiftJis;
  return yes(meta_charset(tag, tag + std::strlen(tag), &c) && c == want);
}
std::string errmsg_of(const char* name) { testing::internal::CaptureStderr(); errmsg("%s: not found\n", name); return testing::internal::GetCapturedStderr(); }
std::string invalid_name(const char* caption) {
  testing::internal::CaptureStderr();
  const std::string name = gives(caption, [](char* s) { return link_name(Link{s, "u"}, "", kSjis); });
  return name + ", " + testing::internal::GetCapturedStderr();
}
// clang-format on

TEST(Examples, EveryRowHolds) {
  bool comment = false;
  // One row a line, as the headers show the examples.
  // clang-format off
  const struct { const char* call; std::string got, want; } rows[] = {
      {"illegal_name", yes(illegal_name("my-")) + yes(illegal_name("a.b")) + yes(illegal_name("\x9F/x")) + yes(illegal_name("\x83\x5C")), "falsetruetruefalse"},
      {"to_int", std::to_string(to_int("  -12x")) + " " + std::to_string(to_int("x")) + " " + std::to_string(to_int("99999999999")) + " " + std::to_string(to_int("-99999999999")), "-12 0 2147483647 -2147483648"},
      {"errmsg", errmsg_of("a.url"), "a.url: not found\n"},
      {"err_edit", edit("[%s] 100\\%", "x"), "[x] 100%"},
      {"Strchr 表示", at("\x95\x5C\x8E\xA6", [](char* s) { return Strchr(s, '\\'); }), "null"},
      {"Strchr a\\b", at("a\\b", [](char* s) { return Strchr(s, '\\'); }), "s+1"},
      {"Strrchr ソフト\\a", at("\x83\x5C\x83\x74\x83\x67\\a", [](char* s) { return Strrchr(s, '\\'); }), "s+6"},
      {"ChgChr", changed("a\\b\x83\x5C", [](char* s) { ChgChr(s, '\\', '/'); }), "a/b\x83\x5C"},
      {"index2", at("a.b", [](char* s) { return index2(s, "."); }) + at("\x83\x5C", [](char* s) { return index2(s, "\\"); }), "s+1null"},
      {"ascii_lower", std::string{ascii_lower('A'), ascii_lower('a'), ascii_lower('['), ascii_lower('\x82')}, "aa[\x82"},
      {"equal_nocase", yes(equal_nocase("UTF-8", "utf-8") && starts_nocase("<META x", "<meta")) + yes(equal_nocase("a", "ab") || starts_nocase("<me", "<meta")), "truefalse"},
      {"sp_skip", at("\t  x", sp_skip), "s+3"},
      {"cp932_to_utf8", cat({utf8_of("\x83\x5C"), utf8_of("a\x81!"), utf8_of("\x85\x5C"), utf8_of("\x85\x85")}), "\xE3\x82\xBD" "a\xEF\xBF\xBD!\xEF\xBF\xBD!\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"cp932_char", char932("\x83\x5C") + char932("\xB1") + char932("\x85\x5C"), "\xE3\x82\xBD|\xEF\xBD\xB1|false"},
      {"charset_of_label", yes(label_is("UTF8", Charset::kUtf8) && label_is("x-SJIS", Charset::kShiftJis) && label_is("latin1", Charset::kWindows1252)) + yes(label_is("utf-16", Charset{})), "truefalse"},
      {"charset_to_utf8", converted(Charset::kWindows1251, "\xCF\xF0\xE8") + "|" + converted(Charset::kWindows1251, "a\x98"), "\xD0\x9F\xD1\x80\xD0\xB8|a\xEF\xBF\xBD"},
      {"charset_names", names_of(Charset::kWindows1251) + names_of(Charset::kUtf8), "CP1251, 1251 UTF-8, 65001 "},
      {"text_end", std::to_string(text_end(reinterpret_cast<const unsigned char*>("ab\x1A" "c"), 4)), kWindows ? "2" : "4"},
      {"free_space_root", root_of("c:\\x") + root_of("C:x") + root_of("\\\\srv\\s") + root_of(""), "c:\\C:\\\\\\"},
      {"decode_refs", changed("a&amp;b&#233;&#0;&x;", [](char* s) { decode_refs(s, true); }), "a&b\xC3\xA9&#0;&x;"},
      {"uri_scheme", yes(uri_scheme("https://x") && uri_scheme("mailto:a") && uri_scheme("a.b-c+d:")) + yes(uri_scheme("C:\\x") || uri_scheme("x") || uri_scheme(":") || uri_scheme("1a:")), "truefalse"},
      {"tag_end", at("\"a>b\" title=\"x>y\">cap", tag_end), "s+17"},
      {"get_href", gives("\"javascript:window.open ('./a.html')", get_href), "a.html"},
      {"script_href", yes(script_href("\"javascript:x")) + yes(script_href("\"JavaScript:x") || script_href("\"a.html")), "truefalse"},
      {"strip_markup", [] { char out[64]; strip_markup("He said \"hi\" <A TITLE=\"a>b\">now</A>|a <!-- <DT> \"x> --> b", out); return std::string(out); }(), "He said \"hi\" now|a  b"},
      {"get_caption", text(get_caption("<IMG SRC=\"x.gif\">News \"<1>\"")), "News <1>"},
      {"next_tag", cat({at("a<!--<A -->b<B", [&](char* s) { return next_tag(s, &comment); }), at("x<!--y", [&](char* s) { return next_tag(s, &comment); }), yes(comment)}), "s+12nulltrue"},
      {"find_href", at("<A NAME=x HREF=\"u\">", find_href) + at("<A NAME=x>", find_href), "s+10s+9"},
      {"link_start", yes(link_start("<A HREF") && link_start("<a\tx") && link_start("<A")) + yes(link_start("<ABBR") || link_start("<A\n")), "truefalse"},
      {"continues_link", yes(continues_link("x</A><DT>") && continues_link("x")) + yes(continues_link("x<DT><A HREF")), "truefalse"},
      {"attribute_value", cat({tags("<A TAGS=\"a b\""), tags("<A x=\"tags=1\" Tags='c'>"), tags("<A tags=d e"), tags("<A TAGS=\"x"), tags("<A XTAGS=\"x\"")}), "a b|c|d|null|null|"},
      {"added_time", cat({added("<A ADD_DATE=\"1700000000\""), " ", added("<A add_date=1700000000123456"), " ", added("<A ADD_DATE=\"\""), added("<A ADD_DATE=\"12x\""), added("<A ADD_DATE=\"1:\"")}), "1700000000 1700000000 000"},
      {"added_time before 1970", cat({added("<A ADD_DATE=\"-5\""), " ", added("<A ADD_DATE=-100000000000"), " ", added("<A ADD_DATE=\"-1700000000123456\""), " ", added("<A ADD_DATE=\"-\""), added("<A ADD_DATE=\"+5\"")}), "-5 -100000 -1700000001 00"},
      {"meta_charset", cat({meta("<META CONTENT=\"text/html; charset=Windows-1251\">", Charset::kWindows1251), meta("<meta NAME=\"charset\" content=\"charset = koi8-r\">", Charset::kKoi8R), meta("<meta charset=\"utf-16\">", Charset::kUtf8)}), "truetruefalse"},
      {"find_tag", at("x<B></a>", [](char* s) { return find_tag(s, "</A>", "</a>"); }), "s+4"},
      {"join_url", url_of("a.html", "dir/") + " " + url_of("a.html", ""), "dir/a.html false"},
      {"cut_line_feed", changed("a\nb", [](char* s) { cut_line_feed(s, kSjis); }) + "|" + changed("\x81\nb", [](char* s) { cut_line_feed(s, kSjis); }) + "|" + changed("\x81\nb", [](char* s) { cut_line_feed(s, kTree); }), "a|\x81\nb|\x81"},
      {"clean_link_name", gives("a/b", [](char* s) { return clean_link_name(s, kSjis); }) + "|" + gives("..x\t", [](char* s) { return clean_link_name(s, kTree); }), "a!b|x "},
      {"link_name", gives(" a/b\nc", [](char* s) { return link_name(Link{s, "u"}, "", kSjis); }) + ", " + invalid_name("?*"), "a!b, null, [?*]: invalid name for the link of \"u\"\n"},
      {"is_reserved", yes(is_reserved("Nul")) + yes(is_reserved("con ") || is_reserved("com1") || is_reserved("con.txt")), "truefalse"},
      {"is_reserved kWindows", yes(is_reserved("con.txt", kDevices) && is_reserved("COM1", kDevices) && is_reserved("lpt9.x", kDevices) && is_reserved("con .url", kDevices)) + yes(is_reserved("com0", kDevices) || is_reserved("console", kDevices) || is_reserved("c on", kDevices)), "truefalse"},
      {"clean_name", changed("a/b:c", [](char* s) { clean_name(s); }) + "|" + changed("\x83\x5C", [](char* s) { clean_name(s); }) + "|" + changed("\xE3/x", [](char* s) { clean_name(s); }) + "|" + changed("...", [](char* s) { clean_name(s); }), "a!b;c|\x83\x5C|\xE3!x|  ."},
      {"clean_name utf8", changed("\xC3\x9F\\", [](char* s) { clean_name(s, true); }), "\xC3\x9F!"},
      {"join_path", joined("out") + " " + joined("out/") + " " + joined(""), "out/a.url out//a.url a.url"},
      {"folder_name", folder_of(" a/b. ") + " " + folder_of("con") + " " + folder_of("..") + folder_of(".") + folder_of(" "), "a!b _con falsefalsefalse"},
      {"put_text put_address", out_of({}, [](LinkPage* p) { put_text(*p, "a&b<\"c\">"); p->escaped = true; put_text(*p, "a&b<\"c\">"); put_text(*p, "a\xE9&"); put_address(*p, "http://x/?a=\xE9&b"); }), "a&b<\"c\">a&amp;b&lt;&quot;c&quot;&gt;a\xEF\xBF\xBD&amp;http://x/?a=%E9&amp;b"},
      {"put_head", head_from_charset(), "charset=UTF-8\">\n<TITLE>Favorite Links</TITLE>\n</HEAD>\n<BODY>\n<CENTER><H2>A&amp;B</H2></CENTER><HR>\n"},
      {"new_list", out_of({.format = 1}, [](LinkPage* p) { p->first_list = false; new_list(p, "Tech/Web"); }) + out_of({}, [](LinkPage* p) { new_list(p, nullptr); }), "</DL><HR>\n<H3>[Tech/Web]</H3>\n<DL>\n<OL>\n"},
      {"put_item", out_of({.format = 1}, [](LinkPage* p) { p->entry = 7; put_item(p, {"u"}, "n"); }) + out_of({}, [](LinkPage* p) { put_item(p, {"u"}, "n"); }), "<DT>07. <A href=\"u\">n</A>\n<DD> \n<LI><A href=\"u\">n</A><BR>\n"},
      {"put_item description", out_of({.format = 1}, [](LinkPage* p) { p->escaped = true; put_item(p, {"u", nullptr, "d&e"}, "n"); }), "<DT>01. <A href=\"u\">n</A>\n<DD> d&amp;e\n"},
      {"put_foot", out_of({}, [](LinkPage* p) { put_foot(*p); }), "</OL>\n<HR>\n</BODY>\n</HTML>\n"},
      {"blank_controls", [] { std::string s = "a\nb\x7F"; blank_controls(&s); return s; }(), "a b "},
      {"folder_parts", [] { std::string r; for (const std::string& x : folder_parts("a\\./b//c")) r += x + ","; return r + std::to_string(folder_parts("").size()); }(), "a,b,c,0"},
      {"bookmark_folders", out_of({.format = 2}, [](LinkPage* p) { p->open = {"News", "Old"}; bookmark_folders(p, "News\\Daily"); }), "</DL><p>\n<DT><H3>Daily</H3>\n<DL><p>\n"},
      {"bookmark_folders control", out_of({.format = 2}, [](LinkPage* p) { bookmark_folders(p, "a\nb"); }), "<DT><H3>a b</H3>\n<DL><p>\n"},
      {"bookmark_item", out_of({.format = 2}, [](LinkPage* p) { bookmark_item(*p, {"u"}, "n", 1700000000); }), "<DT><A HREF=\"u\" ADD_DATE=\"1700000000\">n</A>\n"},
      {"bookmark_item control", out_of({.format = 2}, [](LinkPage* p) { bookmark_item(*p, {"u"}, "n\tm\x7F", -100000000); }), "<DT><A HREF=\"u\" ADD_DATE=\"-100000000\">n m </A>\n"},
      {"bookmark_item extras", out_of({.format = 2}, [](LinkPage* p) { bookmark_item(*p, {"u", "http://i", "d", "a,b"}, "n", 1); }), "<DT><A HREF=\"u\" ADD_DATE=\"1\" ICON_URI=\"http://i\" TAGS=\"a,b\">n</A>\n<DD>d\n"},
      {"collapse_blanks", collapsed(" a\t\r\n b\xC2\x85" "c \x7F\xC2\x9F" "d\xC2\xA0"), "a b c d\xC2\xA0|"},
      {"drop_line_breaks", stepped("http://a/\r\n\tb", drop_line_breaks), "http://a/b|"},
      {"web_icon", stepped("HTTPS://x/i.png", web_icon) + stepped("http:\n//y", web_icon) + stepped("data:image/png;base64,AA", web_icon) + stepped("ftp://z", web_icon), "HTTPS://x/i.png|http://y|||"},
      {"utf8_encode", enc(0x41) + enc(0xE9) + enc(0x1F600), "A\xC3\xA9\xF0\x9F\x98\x80"},
      {"utf8_length", cat({len8("\xC3\xA9x"), len8("\xC0\xAF"), len8("\xED\xA0\x80"), len8("\xE3\x81")}), "2 0 0 -2 "},
      {"is_utf8", yes(is_utf8("a\xC3\xA9")) + yes(is_utf8("a\xE3\x81")), "truefalse"},
      {"valid_utf8", fixed(valid_utf8, "a\xE9z") + fixed(valid_utf8, "\xE3\x81z"), "a\xEF\xBF\xBDz|\xEF\xBF\xBD\xEF\xBF\xBDz|"},
      {"percent_invalid", fixed(percent_invalid, "http://x/\xE9") + fixed(percent_invalid, "/\xC3\xA9\xC3"), "http://x/%E9|/\xC3\xA9%C3|"},
      {"utf8_prefix", cat({prefix8("a\xC3\xA9"), prefix8("a\xE3\x81"), prefix8("\xC0\xAF"), prefix8("\xED\xA0\x80")}), "true,3 true,1 false false "},
      {"utf7_to_utf8", cat({u7("http://a/"), u7("1+-2"), u7("+BEAERA-/"), u7("+BEAERA.h"), u7("+2D3eAA-"), u7("+AKA-"), u7("+ZAA-")}), "http://a/1+2\xD1\x80\xD1\x84/\xD1\x80\xD1\x84.h\xF0\x9F\x98\x80\xC2\xA0\xE6\x90\x80"},
      {"utf7_to_utf8 fails", cat({u7("\xE9"), u7("+."), u7("a+"), u7("+AOkA-"), u7("+AOl-"), u7("+2D0-"), u7("+3gA-"), u7("+AAA-"), u7("+AA0ACg-"), u7("a\tb"), u7("\x7F"), u7("+AH8-"), u7("+AIA-"), u7("+AJ8-")}), "falsefalsefalsefalsefalsefalsefalsefalsefalsefalsefalsefalsefalsefalse"},
      {"utf8_to_utf7", cat({to7("a+b"), to7("\xC3\xA9~"), to7("\xF0\x9F\x98\x80"), to7("\xFF")}), "a+-b +AOkAfg- +2D3eAA- +//0- "},
      {"utf8_to_utf7 round trip", u7(to7("+x ~\\\xC3\xA9-\xE6\x97\xA5\xF0\x9F\x98\x80" "a+-`{|}'(),-./:?!\"#$%&*;<=>@[]^_\xD0\xBF").c_str()), "+x ~\\\xC3\xA9-\xE6\x97\xA5\xF0\x9F\x98\x80" "a+-`{|}'(),-./:?!\"#$%&*;<=>@[]^_\xD0\xBF "},
  };
  // clang-format on
  for (const auto& r : rows) EXPECT_EQ(r.got, r.want) << r.call;
}

// The examples that read or write files, in a scratch folder.
TEST(Examples, Files) {
  namespace fs = std::filesystem;
  const fs::path back = fs::current_path(), dir = testing::TempDir() + "favlink-examples";
  fs::remove_all(dir);
  fs::create_directories(dir);
  fs::current_path(dir);
  // (A backslash is a byte of a POSIX name, and a folder on Windows.)
  for (auto [name, bytes] :
       {std::pair{"t", "ab\r\ncd"}, {kWindows ? "" : "News\\b.url", "URL=u2\n"}}) {
    if (std::FILE* f = *name != '\0' ? std::fopen(name, "wb") : nullptr)
      std::fputs(bytes, f), std::fclose(f);
  }
  {
    TextIn in;
    char buf[1024];
    EXPECT_TRUE(text_open(&in, "t"));
    EXPECT_EQ(cat({text(text_gets(buf, 1024, &in)), text(text_gets(buf, 1024, &in)),
                   text(text_gets(buf, 1024, &in))}),
              "ab\ncdnull");
  }  // closed before the folder goes: Windows removes no open file
  if (!kWindows) {
    EXPECT_EQ(out_of({}, [](LinkPage* p) { put_link(p, std::string("News\\b.url").data()); }),
              "<H3>[News]</H3>\n<OL>\n<LI><A href=\"u2\">b</A><BR>\n");
  }
  ShortcutOptions o;
  std::snprintf(o.url_prefix.data(), o.url_prefix.size(), "dir/");
  EXPECT_EQ(make_url(Link{std::string("a/b:c").data(), "a.html"}, o), UrlResult::kWritten);
  EXPECT_EQ(fs::file_size("a!b;c.url"), 36u);  // "[InternetShortcut]\r\nURL=dir/a.html\r\n"
  {
    TreeRun run(o);
    Folder here;  // held: on Windows the folder cannot go while it is open
    open_folder(".", FolderUse::kMake, &here);
    for (const char* c : {"..con", "A", "A", "Docs"})
      make_tree_url(&run, Link{std::string(c).data(), "https://x/"}, "", here);
    EXPECT_EQ(folder_entry(&run, here, "Docs.url"), "Docs.url (2)");
  }
  EXPECT_TRUE(fs::exists("_con.url") && fs::exists("A.url") && fs::exists("A (2).url"));
  fs::current_path(back);
  fs::remove_all(dir);
}

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

TEST(Refs, EveryBoundaryOfTheUtf8FormsAndOfWhatNamesACharacter) {
  EXPECT_EQ(
      changed(
          "&lt;&gt;&quot;&apos;&amp;amp;&#x7F;&#x80;&#x7FF;&#x800;&#xD7FF;&#xD800;&#xDFFF;&#xE000;"
          "&#xFFFF;&#x10000;&#x10FFFF;&#x10FFFE;&#x110000;&#1114111;&#0;&#;&#x;&#65&#X41;",
          [](char* s) { decode_refs(s, true); }),
      "<>\"'&amp;\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF&#xD800;&#xDFFF;\xEE\x80\x80"
      "\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF\xF4\x8F\xBF\xBE&#x110000;\xF4\x8F\xBF\xBF&#0;&#"
      ";&#x;&#65A");
  EXPECT_EQ(changed("&#127;&#128;&#x41;&#233;", [](char* s) { decode_refs(s, false); }),
            "\x7F&#128;A&#233;");
  for (const char* s : {"ab:", "a+-.9:x", "HTTP:"}) EXPECT_TRUE(uri_scheme(s)) << s;
  for (const char* s : {"a:", "C:\\x", "1a:", "+a:", "ab", "a b:", ""})
    EXPECT_FALSE(uri_scheme(s)) << s;
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
}

}  // namespace
