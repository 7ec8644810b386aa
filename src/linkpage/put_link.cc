#include "linkpage/put_link.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "diag/errmsg.h"
#include "support/sjis.h"
#include "support/textio.h"

LinkPage g_page;

namespace {

bool comment_type() { return g_page.format == 1; }

// Writes the first "URL=" line of the file as this list's next entry. Pieces
// come from the 2048-byte buffer: a longer line is several pieces, each
// looked at as a line of its own.
void put_entry(TextIn* in, const char* name) {
  std::array<char, kUrlLine> line;
  while (text_gets(line.data(), kUrlLine, in) != nullptr) {
    if (std::strncmp(line.data(), "URL=", 4) != 0) continue;
    if (char* nl = std::strchr(line.data(), '\n')) *nl = '\0';
    const char* url = line.data() + 4;
    if (comment_type()) {
      std::printf("<DT>%02d. <A href=\"%s\">%s</A>\n<DD> \n", g_page.entry, url, name);
    } else {
      std::printf("<LI><A href=\"%s\">%s</A><BR>\n", url, name);
    }
    if (g_page.entry < 2147483647) ++g_page.entry;
    return;
  }
}

}  // namespace

void page_head() {
  std::fputs(
      "<HTML>\n"
      "<HEAD>\n"
      "<META http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\n"
      "<TITLE>Favorite Links</TITLE>\n"
      "</HEAD>\n"
      "<BODY>\n",
      stdout);
  std::printf("<CENTER><H2>%s</H2></CENTER><HR>\n", g_page.title);
}

int put_link(char* arg) {
  TextIn in;
  if (!text_open(&in, arg)) {
    errmsg("%s: not found\n", arg);
    return -2;
  }
  // The last '.' of the whole argument ends the name, even one inside the
  // folder part: "my.dir\page" is the entry "my".
  if (char* dot = Strrchr(arg, '.')) *dot = '\0';
  const char* name = arg;
  if (char* sep = Strrchr(arg, '\\')) {
    *sep = '\0';
    name = sep + 1;
    const char* folder = arg;
    if (std::strcmp(folder, g_page.folder) != 0) {
      if (g_page.owns_folder) std::free(const_cast<char*>(g_page.folder));
      g_page.folder = setstr(folder);
      g_page.owns_folder = true;
      // The heading shows the folder with '/' separators; the kept copy keeps
      // its backslashes for the next comparison.
      ChgChr(arg, '\\', '/');
      if (g_page.first_list == 0) std::fputs(comment_type() ? "</DL><HR>\n" : "</OL><HR>\n", stdout);
      std::printf(comment_type() ? "<H3>[%s]</H3>\n<DL>\n" : "<H3>[%s]</H3>\n<OL>\n", arg);
      g_page.entry = 1;
    }
  } else if (g_page.first_list == 1) {
    std::fputs(comment_type() ? "<DL>\n" : "<OL>\n", stdout);
  }
  g_page.first_list = 0;
  put_entry(&in, name);
  text_close(&in);
  return 0;
}

void page_tail() {
  std::fputs(comment_type() ? "</DL>\n" : "</OL>\n", stdout);
  std::fputs("<HR>\n</BODY>\n</HTML>\n", stdout);
}
