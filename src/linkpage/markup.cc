#include "linkpage/markup.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <utility>

LinkPage g_page;

namespace {

void put(const char* markup) { std::fputs(markup, stdout); }

// <A href="url">name</A> on a page; a bookmark file's link (added not null)
// spells the attribute "HREF", as browsers write it, and adds the date.
void put_anchor(const char* url, const char* name, const long long* added) {
  put(added != nullptr ? "<A HREF=\"" : "<A href=\"");
  put_text(url);
  if (added != nullptr) std::printf("\" ADD_DATE=\"%lld", *added);
  put("\">");
  put_text(name);
  put("</A>");
}

}  // namespace

bool comment_type() { return g_page.format == 1; }
bool bookmark_type() { return g_page.format == 2; }

void put_text(const char* s) {
  if (!g_page.escaped) {
    put(s);
    return;
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

void put_head(const char* charset) {
  put("<HTML>\n"
      "<HEAD>\n"
      "<META http-equiv=\"Content-Type\" content=\"text/html; charset=");
  put(charset);
  put("\">\n"
      "<TITLE>Favorite Links</TITLE>\n"
      "</HEAD>\n"
      "<BODY>\n"
      "<CENTER><H2>");
  put_text(g_page.title);
  put("</H2></CENTER><HR>\n");
}

void new_list(const char* heading) {
  if (!g_page.first_list) put(comment_type() ? "</DL><HR>\n" : "</OL><HR>\n");
  if (heading != nullptr) {
    put("<H3>[");
    put_text(heading);
    put("]</H3>\n");
  }
  put(comment_type() ? "<DL>\n" : "<OL>\n");
  g_page.first_list = false;
  g_page.entry = 1;
}

void put_item(const char* url, const char* name) {
  if (comment_type()) {
    std::printf("<DT>%02d. ", g_page.entry);
  } else {
    put("<LI>");
  }
  put_anchor(url, name, nullptr);
  put(comment_type() ? "\n<DD> \n" : "<BR>\n");
  if (g_page.entry < INT_MAX) ++g_page.entry;
}

void put_foot() {
  put(comment_type() ? "</DL>\n" : "</OL>\n");
  put("<HR>\n</BODY>\n</HTML>\n");
}

void bookmark_head() {
  put("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n<TITLE>");
  put_text(g_page.title);
  put("</TITLE>\n<H1>");
  put_text(g_page.title);
  put("</H1>\n<DL><p>\n");
}

void bookmark_folders(const std::string& path) {
  std::vector<std::string> want;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find_first_of("/\\", start);
    if (end == std::string::npos) end = path.size();
    std::string part = path.substr(start, end - start);
    if (!part.empty() && part != ".") want.push_back(std::move(part));
    start = end + 1;
  }
  std::vector<std::string>& open = g_page.open;
  std::size_t same = 0;
  while (same < want.size() && same < open.size() && want[same] == open[same]) ++same;
  for (; open.size() > same; open.pop_back()) put("</DL><p>\n");
  for (std::size_t i = same; i < want.size(); ++i) {
    put("<DT><H3>");
    put_text(want[i].c_str());
    put("</H3>\n<DL><p>\n");
    open.push_back(want[i]);
  }
}

void bookmark_item(const char* url, const char* name, long long added) {
  put("<DT>");
  put_anchor(url, name, &added);
  put("\n");
}

void bookmark_foot() {
  bookmark_folders("");
  put("</DL><p>\n");
}
