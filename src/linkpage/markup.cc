#include "linkpage/markup.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "support/utf8.h"

namespace {

// The bytes in which the two list formats differ, one row each.
struct ListMarkup {
  const char* open;   // starts a list
  const char* close;  // ends it
  // Comment type: an entry starts "<DT>%02d. ", and its <DD> line holds the
  // description; else "<LI>".
  bool numbered;
  const char* item_end;  // after an entry's link, before the description
};

constexpr ListMarkup kOrderedList{"<OL>\n", "</OL>", false, "<BR>"};
constexpr ListMarkup kCommentList{"<DL>\n", "</DL>", true, "\n<DD> "};

// The list format of the page: comment type for format type 1, else list type.
const ListMarkup& list_markup(const LinkPage& page) {
  return page.options.format == 1 ? kCommentList : kOrderedList;
}

void put(const char* markup) { std::fputs(markup, stdout); }

// A name in a bookmark file (a folder's heading, a link's caption, tags), or
// a description: through the page's sink, each control byte (below 0x20, and
// DEL) a blank, so that a line feed in a file or folder name cannot split
// the line it stands on.
void put_name(const LinkPage& page, const char* name) {
  std::string line(name);
  blank_controls(&line);
  put_text(page, line.c_str());
}

// <A href="url">name</A> on a page.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): url, name as the page shows them
void put_anchor(const LinkPage& page, const char* url, const char* name) {
  put("<A href=\"");
  put_address(page, url);
  put("\">");
  put_text(page, name);
  put("</A>");
}

// What a text is to the sink: what it writes for a byte that begins no
// well-formed UTF-8 sequence follows from it.
enum class TextKind { kText, kAddress };

// The one sink of every text: as it stands on the default path; on the tree
// path valid UTF-8 (a text that is so already goes out with no copy made),
// then escaped.
void sink(const LinkPage& page, const char* s, TextKind kind) {
  if (!page.escaped) {
    put(s);
    return;
  }
  std::string valid;
  if (!is_utf8(s)) {
    (kind == TextKind::kAddress ? percent_invalid : valid_utf8)(s, &valid);
    s = valid.c_str();
  }
  for (;;) {
    const std::size_t n = std::strcspn(s, "&<>\"");
    std::fwrite(s, 1, n, stdout);
    s += n;
    switch (*s) {
      case '\0': return;
      case '&': put("&amp;"); break;
      case '<': put("&lt;"); break;
      case '>': put("&gt;"); break;
      default: put("&quot;"); break;
    }
    ++s;
  }
}

}  // namespace

void put_text(const LinkPage& page, const char* s) { sink(page, s, TextKind::kText); }

void put_address(const LinkPage& page, const char* s) { sink(page, s, TextKind::kAddress); }

void put_head(const LinkPage& page, const char* charset) {
  put("<HTML>\n"
      "<HEAD>\n"
      "<META http-equiv=\"Content-Type\" content=\"text/html; charset=");
  put(charset);
  put("\">\n"
      "<TITLE>Favorite Links</TITLE>\n"
      "</HEAD>\n"
      "<BODY>\n"
      "<CENTER><H2>");
  put_text(page, page.options.title);
  put("</H2></CENTER><HR>\n");
}

void new_list(LinkPage* page, const char* heading) {
  const ListMarkup& list = list_markup(*page);
  if (!page->first_list) {
    put(list.close);
    put("<HR>\n");
  }
  if (heading != nullptr) {
    put("<H3>[");
    put_text(*page, heading);
    put("]</H3>\n");
  }
  put(list.open);
  page->first_list = false;
  page->entry = 1;
}

void put_item(LinkPage* page, const LinkText& link, const char* name) {
  const ListMarkup& list = list_markup(*page);
  if (list.numbered) {
    std::printf("<DT>%02d. ", page->entry);
  } else {
    put("<LI>");
  }
  put_anchor(*page, link.url, name);
  put(list.item_end);
  if (list.numbered && link.description != nullptr) put_name(*page, link.description);
  put("\n");
  if (page->entry < INT_MAX) ++page->entry;
}

void put_foot(const LinkPage& page) {
  put(list_markup(page).close);
  put("\n<HR>\n</BODY>\n</HTML>\n");
}

void bookmark_head(const LinkPage& page) {
  put("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n<TITLE>");
  put_text(page, page.options.title);
  put("</TITLE>\n<H1>");
  put_text(page, page.options.title);
  put("</H1>\n<DL><p>\n");
}

void blank_controls(std::string* s) {
  std::replace_if(
      s->begin(), s->end(),
      [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '\x7F'; }, ' ');
}

std::vector<std::string> folder_parts(const std::string& path) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find_first_of("/\\", start);
    if (end == std::string::npos) end = path.size();
    std::string part = path.substr(start, end - start);
    if (!part.empty() && part != ".") parts.push_back(std::move(part));
    start = end + 1;
  }
  return parts;
}

void bookmark_folders(LinkPage* page, const std::string& path) {
  const std::vector<std::string> want = folder_parts(path);
  std::vector<std::string>& open = page->open;
  std::size_t same = 0;
  while (same < want.size() && same < open.size() && want[same] == open[same]) ++same;
  for (; open.size() > same; open.pop_back()) put("</DL><p>\n");
  for (std::size_t i = same; i < want.size(); ++i) {
    put("<DT><H3>");
    put_name(*page, want[i].c_str());
    put("</H3>\n<DL><p>\n");
    open.push_back(want[i]);
  }
}

// Each attribute a browser's export spells in capitals: HREF, then the date,
// then the icon and tags where the link has them.
void bookmark_item(const LinkPage& page, const LinkText& link, const char* name, long long added) {
  put("<DT><A HREF=\"");
  put_address(page, link.url);
  std::printf("\" ADD_DATE=\"%lld", added);
  if (link.icon != nullptr) {
    put("\" ICON_URI=\"");
    put_address(page, link.icon);
  }
  if (link.tags != nullptr) {
    put("\" TAGS=\"");
    put_name(page, link.tags);
  }
  put("\">");
  put_name(page, name);
  put("</A>\n");
  if (link.description != nullptr) {
    put("<DD>");
    put_name(page, link.description);
    put("\n");
  }
}

void bookmark_foot(LinkPage* page) {
  bookmark_folders(page, "");
  put("</DL><p>\n");
}
