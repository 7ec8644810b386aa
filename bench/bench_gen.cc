// favlink_bench_gen: writes the inputs of the benchmarks, the same bytes for
// the same arguments on every run.
//
//   favlink_bench_gen bookmarks N OUT.html MANIFEST
//       a bookmark file with N links (absolute URLs, distinct captions) in
//       nested folders, and the manifest of the files shortcut mode makes from
//       it: one line "file name<TAB>URL" per link, in file order
//   favlink_bench_gen favorites N DIR LIST
//       N .url files (CR LF) in DIR and some of its sub-folders, and LIST: their
//       paths relative to DIR, one a line, in the order a shell glob per folder
//       would give them
//   favlink_bench_gen favtree N DIR
//       a Favorites folder for link page mode -x: N .url files (CR LF) in
//       N/20 folders nested up to four deep below DIR, the files falling on
//       the folders and DIR at random; file and folder names with non-ASCII
//       letters, blanks and some '&', some ending in ".URL", an '&' in some
//       URLs, and a desktop.ini (not a .url file) in every fifth folder
//   favlink_bench_gen flat N DIR
//       one folder DIR of N .url files (CR LF) for link page mode -x, made in
//       an order of their own, not that of their names
//   favlink_bench_gen scan BYTES OUT.html [crlf]
//       a bookmark file of at least BYTES bytes whose links are all relative:
//       without -a nothing is written, so only the scanner runs
//   favlink_bench_gen modern N OUT.html MANIFEST
//       a browser export in UTF-8 for -x: N https links in N/100 folders
//       nested up to five deep, a 2-4 KB ICON, TAGS and a <DD> description
//       on every link, an ICON_URI on some; captions, folder names,
//       descriptions and tags with non-ASCII letters and character
//       references; a link whose number is a multiple of 50 repeats the
//       caption of the link before it in its folder, if any. The manifest
//       lists, in file order, each folder -x makes ("path" relative to the
//       output folder) and each file ("path<TAB>URL<TAB>ADD_DATE<TAB>ICON
//       <TAB>DESCRIPTION<TAB>TAGS", all of it as -x takes it: references
//       decoded, blanks collapsed, ICON empty unless http: or https:)
//   favlink_bench_gen bigline BYTES OUT.html
//       an export holding one link whose line, with its ICON, is BYTES long
//   favlink_bench_gen chromium N BOOKMARKS OUT.html
//       a Chromium profile's Bookmarks file (JSON, laid out as Chromium
//       writes it) of N url nodes in N/100 folders nested up to five deep,
//       most below the bookmark bar, some below other and synced, and
//       OUT.html, the bookmark file Chromium's export makes of the same
//       profile: -x makes the same tree of both. Names with non-ASCII
//       letters, '&', '"', '<', '\', some written as \u escapes (one a
//       surrogate pair); every 50th link repeats the name of the one before
//       it in its folder, and the first of synced that of the last of other,
//       which share the top of the tree
//
// Every line of the bookmarks and scan files is shorter than 1023 bytes,
// newline included, so each one is a single line piece of the scanner; the
// modern and bigline files are for -x, which reads whole lines.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <sys/stat.h>

namespace {

// Longest line written, newline included; the scanner reads pieces of 1023.
constexpr std::size_t kMaxLine = 1000;
// Deepest folder nesting below the top-level list.
constexpr int kMaxDepth = 4;
// Where the ADD_DATE stamps start (late 2023) and how far they spread.
constexpr std::uint64_t kEpoch = 1700000000;
constexpr std::uint64_t kDateSpread = 40000000;

constexpr std::string_view kSites[] = {"Daily",  "Open",    "Pacific", "Green", "Quiet",
                                       "Metro",  "Blue",    "Northern", "Little", "Grand",
                                       "Silver", "Harbour", "Valley",  "Urban", "Old Town"};
constexpr std::string_view kTopics[] = {"News",   "Recipes", "Travel", "Weather", "Music",
                                        "Science", "Garden", "Finance", "Sports", "Books",
                                        "Photos", "Movies",  "Health", "Games",   "Software"};
constexpr std::string_view kFolders[] = {"Links", "News", "Shopping", "Work",  "Reference",
                                         "Tools", "Fun",  "Travel",   "Kids",  "Archive"};
constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// splitmix64: small, fast, and the same sequence everywhere.
struct Rng {
  std::uint64_t s = 0x5eed5eed5eed5eedULL;
  std::uint64_t next() {
    std::uint64_t z = (s += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }
  // Uniform in [0, n).
  std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }
  template <std::size_t N>
  std::string_view pick(const std::string_view (&a)[N]) {
    return a[below(N)];
  }
};

[[noreturn]] void die(const char* what, const std::string& arg) {
  std::fprintf(stderr, "favlink_bench_gen: %s: %s\n", what, arg.c_str());
  std::exit(2);
}

std::FILE* open_out(const std::string& path) {
  std::FILE* fp = std::fopen(path.c_str(), "wb");
  if (fp == nullptr) die(std::strerror(errno), path);
  return fp;
}

void close_out(std::FILE* fp, const std::string& path) {
  if (std::fclose(fp) != 0) die("write failed", path);
}

std::string num6(std::size_t i) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%06zu", i);
  return buf;
}

// The file name favlink makes of a generated caption: the replacement table of
// the shortcut writer, for the ASCII captions written here (no lead bytes, no
// leading blanks, never a reserved device name).
//   "Why Music? 000012..." -> "Why Music  000012  ..url"
std::string url_file_name(std::string name) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    char& c = name[i];
    if (c == '.' && i + 1 < name.size() && name[i + 1] == '.') {
      c = name[i + 1] = ' ';
      continue;
    }
    switch (c) {
      case ':': c = ';'; break;
      case '/': case '\\': case '|': c = '!'; break;
      case '<': c = '('; break;
      case '>': c = ')'; break;
      case '*': case '?': c = ' '; break;
      default: break;
    }
  }
  return name + ".url";
}

// A caption unique by its number, in one of several shapes, most of which
// hold a character the file name cannot keep.
std::string caption(Rng& r, std::size_t i) {
  const std::string site(r.pick(kSites));
  const std::string topic(r.pick(kTopics));
  const std::string n = num6(i);
  switch (i % 6) {
    case 0: return site + " " + topic + " - " + n;
    case 1: return topic + ": " + site + " " + n;
    case 2: return site + " | " + topic + " (" + n + ")";
    case 3: return "Why " + topic + "? " + n + " and more";
    case 4: return site + " " + topic + "/Archive " + n + "...";
    default: return site + " " + topic + " " + n + " - Home Page of the " + site + " " + topic +
                    " Society";
  }
}

std::string stamp(Rng& r) { return std::to_string(kEpoch + r.below(kDateSpread)); }

// The icon data of a link, sized so that the line stays under kMaxLine.
std::string icon_data(Rng& r, std::size_t room) {
  std::string s = "data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAABAAAAAQ";
  if (room <= s.size()) return s;
  const std::size_t n = r.below(room - s.size());
  for (std::size_t k = 0; k < n; ++k) s += kBase64[r.below(64)];
  while (s.size() % 4 != 0) s += '=';
  return s;
}

// Writes a bookmark file folder by folder. Links are counted; the file ends
// once `links` links or `bytes` bytes have been written (whichever is given).
class BookmarkWriter {
 public:
  BookmarkWriter(std::FILE* out, std::FILE* manifest, bool relative, bool crlf)
      : out_(out), manifest_(manifest), relative_(relative), nl_(crlf ? "\r\n" : "\n") {}

  void write(std::size_t links, std::uint64_t bytes) {
    line("<!DOCTYPE NETSCAPE-Bookmark-file-1>");
    line("<!-- This is an automatically generated file.");
    line("     It will be read and overwritten.");
    line("     DO NOT EDIT! -->");
    line("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">");
    line("<TITLE>Bookmarks</TITLE>");
    line("<H1>Bookmarks</H1>");
    line("");
    line("<DL><p>");
    int depth = 1;
    std::size_t in_folder = 0;
    auto done = [&] { return links != 0 ? count_ >= links : written_ >= bytes; };
    while (!done()) {
      const std::size_t roll = r_.below(100);
      if (roll < 4 && depth < kMaxDepth) {
        open_folder(depth);
        ++depth;
        in_folder = 0;
      } else if (roll < 8 && depth > 1 && in_folder > 3) {
        --depth;
        line(indent(depth) + "</DL><p>");
        in_folder = 0;
      } else if (roll < 9 && relative_) {
        // Commented-out entries, as hand-edited pages have them.
        line(indent(depth) + "<!-- moved away:");
        link(depth);
        line(indent(depth) + "-->");
      } else {
        link(depth);
        ++in_folder;
        if (r_.below(10) == 0) {
          line(indent(depth) + "<DD>Notes on " + std::string(r_.pick(kTopics)) +
               " kept for later reading, with links to the archive and the index pages");
        }
      }
    }
    while (depth > 1) {
      --depth;
      line(indent(depth) + "</DL><p>");
    }
    line("</DL><p>");
  }

 private:
  static std::string indent(int depth) { return std::string(static_cast<std::size_t>(depth) * 4, ' '); }

  void line(const std::string& s) {
    if (s.size() + nl_.size() > kMaxLine) die("line too long", s.substr(0, 40));
    std::fwrite(s.data(), 1, s.size(), out_);
    std::fwrite(nl_.data(), 1, nl_.size(), out_);
    written_ += s.size() + nl_.size();
  }

  void open_folder(int depth) {
    const std::string d = stamp(r_);
    line(indent(depth) + "<DT><H3 ADD_DATE=\"" + d + "\" LAST_MODIFIED=\"" + stamp(r_) + "\">" +
         std::string(r_.pick(kFolders)) + " " + std::to_string(++folders_) + "</H3>");
    line(indent(depth) + "<DL><p>");
  }

  void link(int depth) {
    const std::size_t i = ++count_;
    const std::string site(r_.pick(kSites));
    std::string host;
    for (char c : site) {
      if (c != ' ') host += static_cast<char>(c | 0x20);
    }
    std::string url;
    if (relative_) {
      url = "pages/" + host + "/" + num6(i) + ".html";
    } else if (i % 10 == 7) {
      url = "ftp://ftp." + host + ".example.org/pub/" + num6(i) + ".tar.gz";
    } else {
      url = "http://www." + host + std::to_string(i % 997) + ".example.com/" +
            std::string(r_.pick(kTopics)) + "/article-" + num6(i) + ".html?ref=bm";
    }
    const std::string cap = caption(r_, i);
    std::string s = indent(depth) + "<DT><A HREF=\"" + url + "\" ADD_DATE=\"" + stamp(r_) +
                    "\" LAST_VISIT=\"" + stamp(r_) + "\" LAST_MODIFIED=\"" + stamp(r_) + "\"";
    if (r_.below(4) != 0) {
      s += " ICON_URI=\"http://www." + host + ".example.com/favicon.ico\"";
      const std::size_t fixed = s.size() + cap.size() + 16 + nl_.size();
      if (fixed < kMaxLine) s += " ICON=\"" + icon_data(r_, kMaxLine - fixed) + "\"";
    }
    s += ">" + cap + "</A>";
    line(s);
    if (manifest_ != nullptr) {
      const std::string m = url_file_name(cap) + "\t" + url + "\n";
      std::fwrite(m.data(), 1, m.size(), manifest_);
    }
  }

  Rng r_;
  std::FILE* out_;
  std::FILE* manifest_;
  bool relative_;
  std::string nl_;
  std::size_t count_ = 0;
  std::size_t folders_ = 0;
  std::uint64_t written_ = 0;
};

// An Internet Shortcut as a browser leaves it: the URL line is not the first.
std::string url_file(Rng& r, std::size_t i, std::string_view query = {}) {
  const std::string host = "www.site" + std::to_string(i % 1499) + ".example.com";
  const std::string url =
      "http://" + host + "/" + std::string(r.pick(kTopics)) + "/" + num6(i) + ".html" + std::string(query);
  std::string s;
  if (i % 3 != 0) s += "[DEFAULT]\r\nBASEURL=" + url + "\r\n";
  s += "[InternetShortcut]\r\nURL=" + url + "\r\nIDList=\r\n";
  if (i % 2 == 0) s += "IconFile=http://" + host + "/favicon.ico\r\nIconIndex=1\r\n";
  s += "[{000214A0-0000-0000-C000-000000000046}]\r\nProp3=19,2\r\n";
  return s;
}

void favorites(std::size_t n, const std::string& dir, const std::string& list_path) {
  Rng r;
  if (::mkdir(dir.c_str(), 0777) != 0 && errno != EEXIST) die(std::strerror(errno), dir);
  std::FILE* list = open_out(list_path);
  // A quarter of the files at the top, the rest in the folders, each folder's
  // files together as `favlink *.url News/*.url ...` passes them.
  constexpr std::size_t kFolderCount = std::size(kFolders);
  const std::size_t top = n / 4;
  for (std::size_t i = 0; i < n; ++i) {
    std::string rel;
    if (i >= top) {
      const std::size_t f = (i - top) * kFolderCount / (n - top);
      rel = std::string(kFolders[f]) + "/";
      ::mkdir((dir + "/" + rel).c_str(), 0777);
    }
    rel += std::string(r.pick(kSites)) + "-" + std::string(r.pick(kTopics)) + "-" + num6(i) + ".url";
    for (char& c : rel) {
      if (c == ' ') c = '-';  // the list is split at blanks
    }
    const std::string path = dir + "/" + rel;
    std::FILE* fp = open_out(path);
    const std::string body = url_file(r, i);
    std::fwrite(body.data(), 1, body.size(), fp);
    close_out(fp, path);
    std::fprintf(list, "%s\n", rel.c_str());
  }
  close_out(list, list_path);
}

// --- -x inputs ----------------------------------------------------------------

// Text as the export holds it and as -x decodes it.
struct Piece {
  std::string_view html;
  std::string_view text;
};
constexpr Piece kWords[] = {
    {"Caf&#233;", "Café"},         {"Stra&#223;e", "Straße"},      {"Smørrebrød", "Smørrebrød"},
    {"Ελληνικά", "Ελληνικά"},      {"Жизнь", "Жизнь"},             {"日本語", "日本語"},
    {"Crème brûlée", "Crème brûlée"}, {"Ñandú", "Ñandú"},          {"Tom &amp; Jerry", "Tom & Jerry"},
    {"na&#xEF;ve", "naïve"},       {"Bücher", "Bücher"},           {"Ångström", "Ångström"},
    {"Zürich", "Zürich"},          {"Kraków", "Kraków"},           {"İstanbul", "İstanbul"}};
constexpr Piece kJoins[] = {{"&amp;", "&"}, {"&#8211;", "–"}, {"&#x2192;", "→"}, {"&#183;", "·"}};
constexpr std::string_view kExportHead =
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
    "<!-- This is an automatically generated file.\n"
    "     It will be read and overwritten.\n"
    "     DO NOT EDIT! -->\n"
    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
    "<TITLE>Bookmarks</TITLE>\n"
    "<H1>Bookmarks</H1>\n"
    "<DL><p>\n";
constexpr int kTreeDepth = 5;

template <std::size_t N>
const Piece& pick_piece(Rng& r, const Piece (&a)[N]) {
  return a[r.below(N)];
}

// The descriptions and tags of the export's links: some all ASCII (so their
// .url files have no .W section), most not; one character beyond 16 bits, a
// '+', a '"' and a '<' among them.
constexpr Piece kLeads[] = {{"Notes on", "Notes on"},
                            {"Read later:", "Read later:"},
                            {"&quot;Best of&quot;", "\"Best of\""},
                            {"Weekly digest &#8211;", "Weekly digest –"},
                            {"Rezepte f&#252;r", "Rezepte für"},
                            {"&#x1F3B5; Playlists from", "🎵 Playlists from"}};
constexpr Piece kTails[] = {{"kept for later reading", "kept for later reading"},
                            {"see the archive (2019-2023)", "see the archive (2019-2023)"},
                            {"C++ &amp; Rust tips", "C++ & Rust tips"},
                            {"price &lt; 10 &#8364;", "price < 10 €"},
                            {"with links to the index pages", "with links to the index pages"},
                            {"日本語の記事も", "日本語の記事も"}};
constexpr Piece kTags[] = {{"news", "news"},           {"reading", "reading"},
                           {"C++", "C++"},             {"to-do", "to-do"},
                           {"work", "work"},           {"caf&#233;", "café"},
                           {"Tom &amp; Jerry", "Tom & Jerry"}, {"&quot;best&quot;", "\"best\""},
                           {"日本語", "日本語"},       {"Жизнь", "Жизнь"},
                           {"Zürich", "Zürich"},       {"&#x1F3B5;", "🎵"}};

// "word join word number", in both forms; every fourth one longer.
//   "Caf&#233; &amp; Ñandú 000012" / "Café & Ñandú 000012"
void modern_caption(Rng& r, std::size_t i, std::string* html, std::string* text) {
  html->clear();
  text->clear();
  auto add = [&](const Piece& p) {
    html->append(p.html);
    text->append(p.text);
  };
  add(pick_piece(r, kWords));
  add({" ", " "});
  add(pick_piece(r, kJoins));
  add({" ", " "});
  add(pick_piece(r, kWords));
  const std::string n = std::string(" ").append(num6(i));
  add({n, n});
  if (i % 4 == 3) {
    add({" - ", " - "});
    add(pick_piece(r, kWords));
    add({" Home Page", " Home Page"});
  }
}

// Base64 text of n bytes, ten characters per draw of the generator.
void base64(Rng& r, std::size_t n, std::string* out) {
  while (n > 0) {
    std::uint64_t v = r.next();
    for (int k = 0; k < 10 && n > 0; ++k, --n, v >>= 6) out->push_back(kBase64[v & 63]);
  }
}

// The description of link i in both forms, blanks collapsed as -x leaves
// them: every third all ASCII; every twentieth written over two lines, which
// -x joins with a blank.
void modern_description(Rng& r, std::size_t i, const std::string& pad, std::string* html,
                        std::string* text) {
  Piece b;  // the second half
  std::string a_html, a_text, number;
  if (i % 3 == 0) {
    a_html = a_text = "Notes on " + std::string(r.pick(kSites)) + " " + std::string(r.pick(kTopics)) + ",";
    number = "kept for later reading (" + num6(i) + ")";
    b = {number, number};
  } else {
    const Piece* parts[] = {&pick_piece(r, kLeads), &pick_piece(r, kWords), &pick_piece(r, kJoins),
                            &pick_piece(r, kWords)};
    for (const Piece* p : parts) {
      if (!a_html.empty()) {
        a_html += ' ';
        a_text += ' ';
      }
      a_html.append(p->html);
      a_text.append(p->text);
    }
    a_html += ',';
    a_text += ',';
    b = pick_piece(r, kTails);
  }
  html->assign(a_html).append(i % 20 == 7 ? "\n" + pad + "    " : " ").append(b.html);
  text->assign(a_text).append(" ").append(b.text);
}

// The tags of a link, one to three of kTags joined by ',', in both forms.
void modern_tags(Rng& r, std::string* html, std::string* text) {
  html->clear();
  text->clear();
  for (std::size_t k = 0, n = 1 + r.below(3); k < n; ++k) {
    const Piece& t = pick_piece(r, kTags);
    if (k > 0) {
      html->push_back(',');
      text->push_back(',');
    }
    html->append(t.html);
    text->append(t.text);
  }
}

class ModernWriter {
 public:
  ModernWriter(std::FILE* out, std::FILE* manifest) : out_(out), manifest_(manifest) {}

  void write(std::size_t links) {
    // The folder tree: each folder hangs below the top list or below an
    // earlier folder not yet kTreeDepth deep; the links fall on the folders
    // (and the top list) at random.
    const std::size_t folders = links / 100 > 0 ? links / 100 : 1;
    children_.resize(folders + 1);  // [0] is the top list, folder f is f + 1
    depth_.assign(folders + 1, 0);
    for (std::size_t f = 1; f <= folders; ++f) {
      std::size_t parent = r_.below(f);
      while (depth_[parent] >= kTreeDepth) parent = parent_of(parent);
      parents_.push_back(parent);
      depth_[f] = depth_[parent] + 1;
      children_[parent].push_back(f);
    }
    count_.assign(folders + 1, 0);
    for (std::size_t i = 0; i < links; ++i) ++count_[r_.below(folders + 1)];

    put(kExportHead);
    list(0, "");
    put("</DL><p>\n");
  }

 private:
  std::size_t parent_of(std::size_t f) const { return f == 0 ? 0 : parents_[f - 1]; }

  void put(std::string_view s) { std::fwrite(s.data(), 1, s.size(), out_); }

  void note(const std::string& s) { std::fwrite(s.data(), 1, s.size(), manifest_); }

  // The entries of folder f, whose path is `path` ("" the top): its links,
  // then its sub-folders.
  void list(std::size_t f, const std::string& path) {
    const std::string pad(4 * static_cast<std::size_t>(depth_[f] + 1), ' ');
    const std::string dir = path.empty() ? "" : path + "/";
    std::string html, text, prev;
    for (std::size_t k = 0; k < count_[f]; ++k) {
      const std::size_t i = ++links_;
      std::string name;
      if (k > 0 && i % 50 == 0) {
        name = prev + " (2)";  // the caption before, again
      } else {
        modern_caption(r_, i, &html, &text);
        name = prev = text;
      }
      const std::string host = "www.site" + std::to_string(i % 1499) + ".example.com";
      const std::string query = "/read/" + num6(i) + "?lang=de";
      line_.assign(pad).append("<DT><A HREF=\"https://").append(host).append(query);
      const std::string added = stamp(r_);
      line_.append("&amp;ref=bm\" ADD_DATE=\"").append(added);
      // A few links name their icon by an address -x keeps (http: or
      // https:), a few by one it leaves out.
      std::string icon;
      if (i % 10 == 4) {
        icon = (i % 20 == 4 ? "https://" : "http://") + host + "/favicon.ico";
        line_.append("\" ICON_URI=\"").append(icon);
      } else if (i % 10 == 9) {
        line_.append("\" ICON_URI=\"fake-favicon-uri:https://").append(host).append("/");
      }
      line_.append("\" ICON=\"data:image/png;base64,iVBORw0KGgo");
      base64(r_, 2048 + r_.below(2048), &line_);
      modern_tags(r_, &tags_html_, &tags_);
      line_.append("\" TAGS=\"").append(tags_html_);
      line_.append("\">").append(html).append("</A>\n");
      modern_description(r_, i, pad, &desc_html_, &desc_);
      line_.append(pad).append("<DD>").append(desc_html_).append("\n");
      put(line_);
      note(dir + name + ".url\thttps://" + host + query + "&ref=bm\t" + added + "\t" + icon + "\t" +
           desc_ + "\t" + tags_ + "\n");
    }
    for (const std::size_t c : children_[f]) {
      const Piece& w = pick_piece(r_, kWords);
      const std::string n = std::string(" ").append(std::to_string(c));
      put(pad + "<DT><H3 ADD_DATE=\"" + stamp(r_) + "\" LAST_MODIFIED=\"" + stamp(r_) + "\">");
      put(std::string(w.html) + n + "</H3>\n" + pad + "<DL><p>\n");
      const std::string sub = dir + std::string(w.text) + n;
      note(sub + "\n");
      list(c, sub);
      put(pad + "</DL><p>\n");
    }
  }

  Rng r_;
  std::FILE* out_;
  std::FILE* manifest_;
  std::vector<std::vector<std::size_t>> children_;
  std::vector<std::size_t> parents_;
  std::vector<int> depth_;
  std::vector<std::size_t> count_;
  std::size_t links_ = 0;
  std::string line_;
  std::string tags_html_, tags_, desc_html_, desc_;
};

// Folder f of favtree hangs below the top (0) or an earlier folder less than
// kFavDepth deep.
constexpr int kFavDepth = 4;

void favtree(std::size_t n, const std::string& dir) {
  Rng r;
  const std::size_t folders = n / 20 > 0 ? n / 20 : 1;
  std::vector<std::string> path(folders + 1);  // [0] is dir, folder f is f + 1
  std::vector<std::size_t> parent(folders + 1, 0);
  std::vector<int> depth(folders + 1, 0);
  path[0] = dir;
  if (::mkdir(dir.c_str(), 0777) != 0 && errno != EEXIST) die(std::strerror(errno), dir);
  for (std::size_t f = 1; f <= folders; ++f) {
    std::size_t p = r.below(f);
    while (depth[p] >= kFavDepth) p = parent[p];
    parent[f] = p;
    depth[f] = depth[p] + 1;
    path[f] = path[p] + "/" + std::string(pick_piece(r, kWords).text) + " " + std::to_string(f);
    if (::mkdir(path[f].c_str(), 0777) != 0) die(std::strerror(errno), path[f]);
    if (f % 5 == 0) {
      const std::string ini = path[f] + "/desktop.ini";
      std::FILE* fp = open_out(ini);
      std::fputs("[.ShellClassInfo]\r\nURL=http://not-a-shortcut/\r\n", fp);
      close_out(fp, ini);
    }
  }
  std::string html, text;
  for (std::size_t i = 0; i < n; ++i) {
    modern_caption(r, i, &html, &text);
    const std::string file = path[r.below(folders + 1)] + "/" + text + (i % 7 == 3 ? ".URL" : ".url");
    std::FILE* fp = open_out(file);
    const std::string body = url_file(r, i, i % 4 == 1 ? "?from=fav&id=" + std::to_string(i) : "");
    std::fwrite(body.data(), 1, body.size(), fp);
    close_out(fp, file);
  }
}

void flat(std::size_t n, const std::string& dir) {
  Rng r;
  if (::mkdir(dir.c_str(), 0777) != 0 && errno != EEXIST) die(std::strerror(errno), dir);
  // Numbers taken with a stride prime to n: every one once, out of order.
  const std::size_t stride = n % 7919 != 0 ? 7919 : 1;
  for (std::size_t k = 0, i = 0; k < n; ++k, i = (i + stride) % n) {
    const std::string path = dir + "/" + std::string(r.pick(kSites)) + "-" +
                             std::string(r.pick(kTopics)) + "-" + num6(i) + ".url";
    std::FILE* fp = open_out(path);
    const std::string body = url_file(r, i);
    std::fwrite(body.data(), 1, body.size(), fp);
    close_out(fp, path);
  }
}

// --- Chromium's Bookmarks file and its export ---------------------------------

// Text as the Bookmarks file holds it (JSON, with the escapes of a string) and
// as it reads: raw UTF-8, \u escapes (one pair of surrogates), '\"', '\\' and
// the "\u003C" that Chromium writes for '<'.
struct JsonPiece {
  std::string_view json;
  std::string_view text;
};
constexpr JsonPiece kCjWords[] = {{"Caf\\u00e9", "Café"},
                                  {"Straße", "Straße"},
                                  {"Smørrebrød", "Smørrebrød"},
                                  {"Ελληνικά", "Ελληνικά"},
                                  {"Жизнь", "Жизнь"},
                                  {"日本語", "日本語"},
                                  {"Cr\\u00e8me br\\u00fbl\\u00e9e", "Crème brûlée"},
                                  {"Tom & Jerry", "Tom & Jerry"},
                                  {"\\\"Best of\\\"", "\"Best of\""},
                                  {"\\ud83d\\ude00 Smile", "😀 Smile"},
                                  {"Zürich", "Zürich"},
                                  {"Kraków", "Kraków"},
                                  {"You're", "You're"},
                                  {"\\u003Cb>Bold\\u003C/b>", "<b>Bold</b>"},
                                  {"na\\u00efve", "naïve"},
                                  {"İstanbul", "İstanbul"},
                                  {"🎵 Music", "🎵 Music"},
                                  {"AC\\\\DC", "AC\\DC"}};
constexpr JsonPiece kCjJoins[] = {{" & ", " & "}, {" \\u2013 ", " – "}, {" | ", " | "},
                                  {" · ", " · "}, {": ", ": "},         {" - ", " - "}};
// Seconds from 1601-01-01, where Chromium's times count from, to 1970-01-01.
constexpr std::uint64_t kWindowsEpochSeconds = 11644473600;
// Folders below the bookmark bar (or a root) at most this deep.
constexpr int kCjDepth = 5;

// Text as Chromium's export writes a name: '&', '<', '>', '"' and '\'' as
// references.
std::string html_text(std::string_view s) {
  std::string out;
  for (const char c : s) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c; break;
    }
  }
  return out;
}

// A Chromium profile's Bookmarks file (JSON, laid out as Chromium writes it:
// keys in order, three blanks a level, "[ {", "}, {", "} ]", "[  ]") and the
// bookmark file Chromium exports from it, written side by side from one walk
// of one tree. The export holds the bookmark bar as a folder
// (PERSONAL_TOOLBAR_FOLDER), then the entries of "other" and of "synced" at
// its top; names escaped as references, addresses as they are ('"' aside,
// which no address here holds), ADD_DATE the seconds of date_added.
class ChromiumWriter {
  struct Name {
    std::string json, text;
  };

 public:
  ChromiumWriter(std::FILE* json, std::FILE* html) : json_(json), html_(html) {}

  void write(std::size_t links) {
    // Nodes 0, 1, 2: the roots bookmark_bar, other and synced; 3 on: folders.
    // Most folders are made below the bar, some below other, a few below
    // synced, each below a node of its root that is not yet kCjDepth deep
    // (the shallower of two drawn, so that the deep ones are fewer); every
    // 97th folder is left empty. The links fall on the nodes of a root at
    // random, most of them on the bar's.
    const std::size_t folders = links / 100 > 0 ? links / 100 : 1;
    const std::size_t nodes = 3 + folders;
    subfolders_.resize(nodes);
    depth_.assign(nodes, 0);
    count_.assign(nodes, 0);
    std::vector<std::size_t> open[3], all[3];  // per root: nodes below kCjDepth, all nodes
    for (std::size_t root = 0; root < 3; ++root) open[root] = all[root] = {root};
    for (std::size_t f = 3; f < nodes; ++f) {
      const std::size_t roll = r_.below(100);
      const std::size_t root = roll < 6 ? 1 : roll < 8 ? 2 : 0;
      const std::size_t one = open[root][r_.below(open[root].size())];
      const std::size_t two = open[root][r_.below(open[root].size())];
      const std::size_t parent = depth_[one] <= depth_[two] ? one : two;
      depth_[f] = depth_[parent] + 1;
      subfolders_[parent].push_back(f);
      if (f % 97 == 0) continue;
      all[root].push_back(f);
      if (depth_[f] < kCjDepth) open[root].push_back(f);
    }
    for (std::size_t i = 0; i < links; ++i) {
      const std::size_t roll = r_.below(100);
      const std::size_t root = roll < 8 ? 1 : roll < 10 ? 2 : 0;
      ++count_[all[root][r_.below(all[root].size())]];
    }

    json("{\n   \"checksum\": \"");
    hex(32, &jbuf_);
    json("\",\n   \"roots\": {\n");
    html(kExportHead);
    const char* const keys[] = {"bookmark_bar", "other", "synced"};
    const char* const names[] = {"Bookmarks bar", "Other bookmarks", "Mobile bookmarks"};
    for (std::size_t root = 0; root < 3; ++root) {
      json(root == 0 ? "      \"" : ",\n      \"").append(keys[root]).append("\": {\n");
      // The bar a folder of the export; the entries of the others at its top.
      folder(root, 2, names[root], std::to_string(root + 1), root == 0 ? 1 : 0);
      json("      }");
    }
    json("\n   },\n   \"sync_metadata\": \"");
    base64(r_, 4096, &jbuf_);
    json("\",\n   \"version\": 1\n}\n");
    html("</DL><p>\n");
    flush(true);
  }

 private:
  std::string& json(std::string_view s) { return jbuf_.append(s); }
  std::string& html(std::string_view s) { return hbuf_.append(s); }

  void flush(bool all) {
    if (all || jbuf_.size() > 65536) {
      std::fwrite(jbuf_.data(), 1, jbuf_.size(), json_);
      jbuf_.clear();
    }
    if (all || hbuf_.size() > 65536) {
      std::fwrite(hbuf_.data(), 1, hbuf_.size(), html_);
      hbuf_.clear();
    }
  }

  void hex(int n, std::string* out) {
    std::uint64_t v = 0;
    for (int k = 0; k < n; ++k, v >>= 4) {
      if (k % 16 == 0) v = r_.next();
      out->push_back("0123456789abcdef"[v & 15]);
    }
  }

  // A version 4 GUID: 8-4-4-4-12 hex digits.
  std::string guid() {
    std::string h, g;
    hex(32, &h);
    h[12] = '4';
    h[16] = "89ab"[h[16] % 4];
    for (std::size_t k = 0; k < h.size(); ++k) {
      if (k == 8 || k == 12 || k == 16 || k == 20) g += '-';
      g += h[k];
    }
    return g;
  }

  // A time as Chromium keeps it (microseconds since 1601) and its seconds
  // since 1970 as the export writes them.
  std::pair<std::string, std::string> when() {
    const std::uint64_t secs = kEpoch + r_.below(kDateSpread);
    return {std::to_string((secs + kWindowsEpochSeconds) * 1000000 + r_.below(1000000)),
            std::to_string(secs)};
  }

  // "key": "value" at indent pad, after the key before it.
  void key(const std::string& pad, std::string_view k, std::string_view v) {
    json(",\n").append(pad).append("\"").append(k).append("\": \"").append(v).append("\"");
  }

  // The meta_info every tenth node carries, and the source some have (as
  // some browsers built on Chromium write it).
  void meta_info(const std::string& pad, std::size_t n) {
    if (n % 10 == 3) {
      json(",\n")
          .append(pad)
          .append("\"meta_info\": {\n")
          .append(pad)
          .append("   \"last_visited_desktop\": \"");
      json(when().first).append("\"");
      if (n % 20 == 3) json(",\n").append(pad).append("   \"power_bookmark_meta\": \"\"");
      json("\n").append(pad).append("}");
    }
  }
  void source(const std::string& pad, std::size_t n) {
    if (n % 16 == 1) key(pad, "source", n % 32 == 1 ? "user_add" : "import_fre");
  }

  // Node `node` as the dict at JSON depth d (its '{' written, its '}' left to
  // the caller), and its entries in the export at `level` (0: its entries at
  // the top, the node itself no folder there).
  void folder(std::size_t node, int d, const std::string& name, const std::string& id, int level) {
    const std::string pad(3 * static_cast<std::size_t>(d + 1), ' ');
    const std::string hpad(4 * static_cast<std::size_t>(level), ' ');
    const auto added = when();
    const auto modified = when();
    if (level > 0) {
      html(hpad).append("<DT><H3 ADD_DATE=\"").append(added.second);
      html("\" LAST_MODIFIED=\"").append(node % 7 == 5 ? "0" : modified.second).append("\"");
      if (node == 0) html(" PERSONAL_TOOLBAR_FOLDER=\"true\"");
      html(">").append(html_text(name)).append("</H3>\n").append(hpad).append("<DL><p>\n");
    }
    // The entries in their order: the sub-folders fall between the links.
    const std::vector<std::size_t>& subs = subfolders_[node];
    std::vector<std::size_t> at(subs.size());
    for (std::size_t& a : at) a = r_.below(count_[node] + 1);
    std::sort(at.begin(), at.end());
    const int inner = level > 0 ? level + 1 : 1;
    json(pad).append("\"children\": [ ");
    // The entries of other and of synced share the top of the export, and
    // the first link of synced repeats the name of other's last.
    Name own;
    Name& prev = node == 1 || node == 2 ? top_ : own;
    bool first = true;
    for (std::size_t k = 0, s = 0; k <= count_[node]; ++k) {
      for (; s < subs.size() && at[s] == k; ++s) {
        json(first ? "{\n" : ", {\n");
        first = false;
        const std::size_t sub = subs[s];
        const JsonPiece& w = kCjWords[r_.below(std::size(kCjWords))];
        const std::string sub_name =
            std::string(w.text).append(" ").append(std::to_string(sub - 2));
        folder(sub, d + 1, sub_name, std::to_string(next_id_++), inner);
        json(pad).append("}");
      }
      if (k < count_[node]) {
        json(first ? "{\n" : ", {\n");
        first = false;
        const bool again = k > 0 ? (links_ + 1) % 50 == 0 : node == 2 && !prev.json.empty();
        link(d + 1, inner, again, &prev);
        json(pad).append("}");
      }
    }
    json(" ],\n").append(pad).append("\"date_added\": \"").append(added.first).append("\"");
    key(pad, "date_last_used", "0");
    key(pad, "date_modified", node % 7 == 5 ? "0" : modified.first);
    // The roots' GUIDs are fixed ones.
    key(pad, "guid",
        node < 3 ? std::string("00000000-0000-4000-a000-00000000000")
                       .append(1, static_cast<char>('2' + node))
                 : guid());
    key(pad, "id", id);
    meta_info(pad, node);
    json(",\n").append(pad).append("\"name\": \"");
    json_name(name);
    json("\"");
    source(pad, node);
    key(pad, "type", "folder");
    json("\n");
    if (level > 0) html(hpad).append("</DL><p>\n");
    flush(false);
  }

  // A folder's name in JSON: its text with '"', '\\' and '<' escaped.
  void json_name(std::string_view s) {
    for (const char c : s) {
      if (c == '"' || c == '\\') {
        jbuf_ += '\\';
        jbuf_ += c;
      } else if (c == '<') {
        jbuf_ += "\\u003C";
      } else {
        jbuf_ += c;
      }
    }
  }

  // Link number i (counted over the file) as the dict at JSON depth d and a
  // line of the export at `level`: named *prev again (the name of the link
  // before it in its folder) or a new name, left in *prev. Every 50th link
  // repeats the one before it in its folder, if any.
  void link(int d, int level, bool again, Name* prev) {
    const std::size_t i = ++links_;
    const std::string pad(3 * static_cast<std::size_t>(d + 1), ' ');
    if (!again) {
      prev->json.clear();
      prev->text.clear();
      auto add = [&](const JsonPiece& p) {
        prev->json.append(p.json);
        prev->text.append(p.text);
      };
      add(kCjWords[r_.below(std::size(kCjWords))]);
      add(kCjJoins[r_.below(std::size(kCjJoins))]);
      add(kCjWords[r_.below(std::size(kCjWords))]);
      const std::string n = " " + num6(i);
      add({n, n});
      if (i % 4 == 3) {
        add({" - ", " - "});
        add(kCjWords[r_.below(std::size(kCjWords))]);
        add({" Home Page", " Home Page"});
      }
    }
    const std::string host = "www.site" + std::to_string(i % 1499) + ".example.com";
    std::string url = (i % 5 == 2 ? "http://" : "https://") + host;
    switch (i % 4) {
      case 0: url += "/read/" + num6(i) + "?lang=de&ref=bm"; break;
      case 1: url += "/wiki/Stra%C3%9Fe_" + num6(i); break;
      case 2: url += "/" + num6(i) + "/#top"; break;
      default: url += "/a/b/c/" + num6(i) + ".html"; break;
    }
    const auto added = when();
    const auto used = when();
    json(pad).append("\"date_added\": \"").append(added.first).append("\"");
    key(pad, "date_last_used", i % 5 == 0 ? used.first : "0");
    key(pad, "guid", guid());
    key(pad, "id", std::to_string(next_id_++));
    meta_info(pad, i);
    key(pad, "name", prev->json);
    source(pad, i);
    key(pad, "type", "url");
    key(pad, "url", url);
    json("\n");
    html(std::string(4 * static_cast<std::size_t>(level), ' '))
        .append("<DT><A HREF=\"")
        .append(url)
        .append("\" ADD_DATE=\"")
        .append(added.second)
        .append("\">")
        .append(html_text(prev->text))
        .append("</A>\n");
  }

  Rng r_;
  std::FILE* json_;
  std::FILE* html_;
  std::string jbuf_, hbuf_;
  std::vector<std::vector<std::size_t>> subfolders_;
  std::vector<int> depth_;
  std::vector<std::size_t> count_;
  std::size_t links_ = 0;
  std::size_t next_id_ = 4;
  Name top_;  // the name of the last link of other
};

void bigline(std::uint64_t bytes, const std::string& path) {
  Rng r;
  std::FILE* out = open_out(path);
  std::fwrite(kExportHead.data(), 1, kExportHead.size(), out);
  const std::string head = "<DT><A HREF=\"https://www.example.com/\" ICON=\"data:image/png;base64,";
  const std::string tail = "\">Big &amp; icon</A>\n";
  std::fwrite(head.data(), 1, head.size(), out);
  std::uint64_t left = bytes > head.size() + tail.size() ? bytes - head.size() - tail.size() : 0;
  std::string chunk;
  while (left > 0) {
    chunk.clear();
    base64(r, left < 65536 ? static_cast<std::size_t>(left) : 65536, &chunk);
    std::fwrite(chunk.data(), 1, chunk.size(), out);
    left -= chunk.size();
  }
  std::fwrite(tail.data(), 1, tail.size(), out);
  std::fputs("</DL><p>\n", out);
  close_out(out, path);
}

std::uint64_t number(const char* s) {
  char* end = nullptr;
  const unsigned long long v = std::strtoull(s, &end, 10);
  if (end == s || *end != '\0' || v == 0) die("not a positive number", s);
  return v;
}

int usage() {
  std::fputs(
      "usage: favlink_bench_gen bookmarks N OUT.html MANIFEST\n"
      "       favlink_bench_gen favorites N DIR LIST\n"
      "       favlink_bench_gen favtree N DIR\n"
      "       favlink_bench_gen flat N DIR\n"
      "       favlink_bench_gen scan BYTES OUT.html [crlf]\n"
      "       favlink_bench_gen modern N OUT.html MANIFEST\n"
      "       favlink_bench_gen bigline BYTES OUT.html\n"
      "       favlink_bench_gen chromium N BOOKMARKS OUT.html\n",
      stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return usage();
  const std::string mode = argv[1];
  const std::uint64_t n = number(argv[2]);
  if (mode == "bookmarks" && argc == 5) {
    std::FILE* out = open_out(argv[3]);
    std::FILE* manifest = open_out(argv[4]);
    BookmarkWriter(out, manifest, false, false).write(static_cast<std::size_t>(n), 0);
    close_out(manifest, argv[4]);
    close_out(out, argv[3]);
  } else if (mode == "favorites" && argc == 5) {
    favorites(static_cast<std::size_t>(n), argv[3], argv[4]);
  } else if (mode == "favtree" && argc == 4) {
    favtree(static_cast<std::size_t>(n), argv[3]);
  } else if (mode == "flat" && argc == 4) {
    flat(static_cast<std::size_t>(n), argv[3]);
  } else if (mode == "scan" && (argc == 4 || (argc == 5 && std::strcmp(argv[4], "crlf") == 0))) {
    std::FILE* out = open_out(argv[3]);
    BookmarkWriter(out, nullptr, true, argc == 5).write(0, n);
    close_out(out, argv[3]);
  } else if (mode == "modern" && argc == 5) {
    std::FILE* out = open_out(argv[3]);
    std::FILE* manifest = open_out(argv[4]);
    ModernWriter(out, manifest).write(static_cast<std::size_t>(n));
    close_out(manifest, argv[4]);
    close_out(out, argv[3]);
  } else if (mode == "bigline" && argc == 4) {
    bigline(n, argv[3]);
  } else if (mode == "chromium" && argc == 5) {
    std::FILE* json = open_out(argv[3]);
    std::FILE* html = open_out(argv[4]);
    ChromiumWriter(json, html).write(static_cast<std::size_t>(n));
    close_out(html, argv[4]);
    close_out(json, argv[3]);
  } else {
    return usage();
  }
  return 0;
}
