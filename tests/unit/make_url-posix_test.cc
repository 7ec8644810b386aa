// make_url writing real files, each case in a fresh folder. POSIX only: the
// output folder is joined with '/', and names longer than 255 bytes are
// passed over.
#include "shortcut/make_url.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Every entry below a folder: file path -> bytes, folder path + "/" -> "".
using Tree = std::map<std::string, std::string>;

Tree read_tree(const fs::path& root) {
  Tree t;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    const std::string rel = fs::relative(e.path(), root).string();
    if (e.is_directory()) {
      t[rel + "/"] = "";
    } else {
      std::ifstream f(e.path(), std::ios::binary);
      t[rel] = std::string(std::istreambuf_iterator<char>(f), {});
    }
  }
  return t;
}

void write_tree(const Tree& t) {
  for (const auto& [name, bytes] : t) {
    if (name.ends_with('/')) {
      fs::create_directories(name);
    } else {
      if (fs::path(name).has_parent_path()) fs::create_directories(fs::path(name).parent_path());
      std::ofstream(name, std::ios::binary) << bytes;
    }
  }
}

std::string shortcut(const std::string& url) { return "[InternetShortcut]\r\nURL=" + url + "\r\n"; }

std::string shortcut(const std::string& url, const std::string& index, const std::string& icon) {
  return shortcut(url) + "IconIndex=" + index + "\r\nIconFile=" + icon + "\r\n";
}

struct Row {
  std::string caption{};
  std::string prefix{};
  std::string link = "http://a/";
  std::string outdir{};
  const char* icon = nullptr;
  int index = -1;
  const char* name_prefix = "";
  Tree before{};
  int want = 0;
  std::string err{};
  Tree after{};  // the whole folder afterwards, `before` included
};

class MakeUrl : public testing::Test {
 protected:
  void SetUp() override {
    home_ = fs::current_path();
    std::string tmpl = testing::TempDir() + "favlink-make_url-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override {
    fs::current_path(home_);
    fs::remove_all(dir_);
  }

  // Runs each row in a folder of its own.
  void run(const std::vector<Row>& rows) {
    for (const auto& r : rows) {
      const fs::path here = dir_ / ("case" + std::to_string(++cases_));
      fs::create_directory(here);
      fs::current_path(here);
      write_tree(r.before);
      std::string caption = r.caption;
      testing::internal::CaptureStderr();
      const int got = make_url(caption.data(), r.prefix.c_str(), r.link.c_str(), "select",
                               r.outdir.c_str(), r.icon, r.index, r.name_prefix);
      const std::string err = testing::internal::GetCapturedStderr();
      fs::current_path(dir_);
      const std::string what = "caption \"" + r.caption + "\" link \"" + r.link + "\"";
      EXPECT_EQ(got, r.want) << what;
      EXPECT_EQ(err, r.err) << what;
      EXPECT_EQ(read_tree(here), r.after) << what;
    }
  }

  fs::path home_;
  fs::path dir_;
  int cases_ = 0;
};

TEST_F(MakeUrl, FileBytes) {
  const std::string f36 = "[InternetShortcut]\r\nURL=dir/a.html\r\n";
  const std::string f65 = f36 + "IconIndex=0\r\nIconFile=a.ico\r\n";
  ASSERT_EQ(f36.size(), 36u);
  ASSERT_EQ(f65.size(), 65u);
  run({
      {.caption = "a/b:c", .prefix = "dir/", .link = "a.html", .after = {{"a!b;c.url", f36}}},
      {.caption = "a", .prefix = "dir/", .link = "a.html", .icon = "a.ico",
       .after = {{"a.url", f65}}},
      {.caption = "a", .link = "http://x/", .icon = "a.ico", .index = 5,
       .after = {{"a.url", shortcut("http://x/", "5", "a.ico")}}},
      {.caption = "a", .link = "http://x/", .icon = "a.ico", .index = 0,
       .after = {{"a.url", shortcut("http://x/", "0", "a.ico")}}},
      {.caption = "a", .link = "http://x/", .icon = "", .index = 7,
       .after = {{"a.url", shortcut("http://x/", "7", "")}}},
      {.caption = "\x95\x5C", .link = "http://x/\x95\x5C", .icon = "C:\\i\\\x95\x5C.ico",
       .after = {{"\x95\x5C.url", shortcut("http://x/\x95\x5C", "0", "C:\\i\\\x95\x5C.ico")}}},
  });
}

TEST_F(MakeUrl, AbsoluteAndRelativeUrls) {
  std::vector<Row> rows = {
      {.caption = "a", .prefix = "dir/", .link = "/b.html", .after = {{"a.url", shortcut("dir//b.html")}}},
      {.caption = "a", .prefix = "dir/", .link = "http://x/", .after = {{"a.url", shortcut("http://x/")}}},
      {.caption = "a", .link = "ftp:x", .after = {{"a.url", shortcut("ftp:x")}}},
      {.caption = "a", .prefix = "dir/", .link = "", .after = {{"a.url", shortcut("dir/")}}},
      {.caption = "a", .prefix = "dir/", .link = "HTTP://x/", .after = {{"a.url", shortcut("dir/HTTP://x/")}}},
  };
  // Relative without a prefix: nothing written, nothing said.
  for (const char* link : {"a.html", "HTTP://x/", "https://x/", "mailto:a@b", "file:x", "ftp", "http", ""}) {
    rows.push_back({.caption = "a", .link = link});
  }
  run(rows);
}

TEST_F(MakeUrl, NameRules) {
  run({
      {.caption = "  \tNews", .after = {{"News.url", shortcut("http://a/")}}},
      {.caption = "News\t", .after = {{"News\t.url", shortcut("http://a/")}}},
      {.caption = "a\nb", .after = {{"a.url", shortcut("http://a/")}}},
      {.caption = "...", .after = {{"  ..url", shortcut("http://a/")}}},
      {.caption = "?\t", .after = {{" \t.url", shortcut("http://a/")}}},  // a tab is not blank
      {.caption = "\xE3/x", .after = {{"\xE3!x.url", shortcut("http://a/")}}},
      {.caption = "n", .name_prefix = "my-", .after = {{"my-n.url", shortcut("http://a/")}}},
      // Blank names: the message shows the name before cleaning and the
      // link as received.
      {.caption = "??", .prefix = "dir/", .link = "a.html", .want = 1,
       .err = "[??]: invalid name for the link of \"a.html\"\n"},
      {.caption = "  ..", .want = 1, .err = "[..]: invalid name for the link of \"http://a/\"\n"},
      {.caption = "* ?", .want = 1, .err = "[* ?]: invalid name for the link of \"http://a/\"\n"},
      {.caption = "", .want = 1, .err = "[]: invalid name for the link of \"http://a/\"\n"},
      {.caption = "\t \nx", .want = 1, .err = "[]: invalid name for the link of \"http://a/\"\n"},
  });
}

TEST_F(MakeUrl, ReservedNames) {
  const std::string f = shortcut("http://a/");
  run({
      {.caption = "CON", .after = {{"_CON.url", f}}},
      {.caption = "Nul", .after = {{"_Nul.url", f}}},
      {.caption = "Clock", .after = {{"_Clock.url", f}}},
      {.caption = " prn", .after = {{"_prn.url", f}}},
      {.caption = "aUx", .after = {{"_aUx.url", f}}},
      {.caption = "nul", .name_prefix = "my-", .after = {{"my-_nul.url", f}}},
      {.caption = "con ", .after = {{"con .url", f}}},
      {.caption = "com1", .after = {{"com1.url", f}}},
      {.caption = "console", .after = {{"console.url", f}}},
      {.caption = "c:on", .after = {{"c;on.url", f}}},
  });
}

TEST_F(MakeUrl, LengthLimits) {
  const std::string f = shortcut("http://a/");
  const std::string a200(200, 'a');
  run({
      // Prefix plus caption, leading blanks counted: 254 is written, 255 not.
      {.caption = std::string(54, ' ') + a200, .after = {{a200 + ".url", f}}},
      {.caption = std::string(53, ' ') + a200, .name_prefix = "p", .after = {{"p" + a200 + ".url", f}}},
      {.caption = std::string(55, ' ') + a200,
       .err = "too long name ... " + std::string(55, ' ') + a200 + "\n"},
      {.caption = std::string(54, ' ') + a200, .name_prefix = "p",
       .err = "too long name ... " + std::string(54, ' ') + a200 + "\n"},
      {.caption = "x\n" + std::string(300, 'y'), .after = {{"x.url", f}}},  // cut first
      // The file name itself (prefix, name, ".url") may have 255 bytes.
      {.caption = std::string(251, 'b'), .after = {{std::string(251, 'b') + ".url", f}}},
      {.caption = std::string(250, 'b'), .name_prefix = "p",
       .after = {{"p" + std::string(250, 'b') + ".url", f}}},
      {.caption = std::string(252, 'b'), .err = "too long name ... " + std::string(252, 'b') + ".url\n"},
      {.caption = std::string(251, 'b'), .name_prefix = "p",
       .err = "too long name ... p" + std::string(251, 'b') + ".url\n"},
  });
}

TEST_F(MakeUrl, TextsLongerThanTheirAreas) {
  const std::string prefix = std::string(2000, 'p') + "/";
  const std::string icon(2025, 'i');
  const std::string icon_long = icon + "i";
  run({
      // The absolute URL may have 2023 bytes.
      {.caption = "a", .prefix = prefix, .link = std::string(22, 'u'),
       .after = {{"a.url", shortcut(prefix + std::string(22, 'u'))}}},
      {.caption = "a", .prefix = prefix, .link = std::string(23, 'u'),
       .err = "too long URL for the link of \"a\"\n"},
      // The icon text "IconIndex=0\nIconFile=...\n" may have 2047 bytes.
      {.caption = "a", .icon = icon.c_str(), .after = {{"a.url", shortcut("http://a/", "0", icon)}}},
      {.caption = "a", .icon = icon_long.c_str(), .err = "too long icon file ... a.url\n"},
      // A path of 2047 bytes is tried (and cannot be created: its folder
      // name is too long; the path is too long for the message's %s);
      // 2048 bytes are refused before anything is tried.
      {.caption = "a", .outdir = std::string(2041, 'o'), .want = -1, .err = "\"\": cannot create\n"},
      {.caption = "a", .outdir = std::string(2042, 'o'), .err = "too long path ... a.url\n"},
  });
}

TEST_F(MakeUrl, OutputFolderAndExistingFiles) {
  const std::string f = shortcut("http://a/");
  run({
      {.caption = "a", .outdir = "out", .before = {{"out/", ""}}, .after = {{"out/", ""}, {"out/a.url", f}}},
      {.caption = "a", .outdir = "out/", .before = {{"out/", ""}}, .after = {{"out/", ""}, {"out/a.url", f}}},
      {.caption = "a", .outdir = "missing", .want = -1, .err = "\"missing/a.url\": cannot create\n"},
      {.caption = "a", .outdir = "out\\x", .before = {{"out/", ""}}, .want = -1,
       .err = "\"out\\x/a.url\": cannot create\n", .after = {{"out/", ""}}},
      // An existing file or folder is left as it is, silently.
      {.caption = "a", .before = {{"a.url", "old"}}, .want = 1, .after = {{"a.url", "old"}}},
      {.caption = "a", .before = {{"a.url/", ""}}, .want = 1, .after = {{"a.url/", ""}}},
      {.caption = "CON", .before = {{"_CON.url", ""}}, .want = 1, .after = {{"_CON.url", ""}}},
      {.caption = "a", .outdir = "out", .before = {{"out/a.url", "x"}}, .want = 1,
       .after = {{"out/", ""}, {"out/a.url", "x"}}},
  });
}

TEST_F(MakeUrl, UnreadableAndDanglingEntriesAreNeverReplaced) {
  fs::current_path(dir_);
  std::ofstream("a.url") << "old";
  fs::permissions("a.url", fs::perms::none);
  fs::create_symlink("nowhere", "b.url");
  std::string a = "a";
  std::string b = "b";
  EXPECT_EQ(make_url(a.data(), "", "http://a/", "", "", nullptr, -1, ""), 1);
  EXPECT_EQ(make_url(b.data(), "", "http://a/", "", "", nullptr, -1, ""), 1);
  EXPECT_FALSE(fs::exists("nowhere"));
  fs::permissions("a.url", fs::perms::owner_read);
  std::ifstream in("a.url");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old");
}

}  // namespace
