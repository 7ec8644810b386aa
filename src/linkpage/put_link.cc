#include "linkpage/put_link.h"

#include <array>
#include <cstring>

#include "diag/errmsg.h"
#include "support/sjis.h"
#include "support/textio.h"

namespace {

// Writes the first "URL=" line of the file as this list's next entry. Pieces
// come from the 2048-byte buffer: a longer line is several pieces, each
// looked at as a line of its own.
void put_first_url_line(LinkPage* page, TextIn* in, const char* name) {
  std::array<char, kUrlLine> line;
  while (text_gets(line.data(), kUrlLine, in) != nullptr) {
    if (std::strncmp(line.data(), "URL=", 4) != 0) continue;
    if (char* nl = std::strchr(line.data(), '\n')) *nl = '\0';
    put_item(page, LinkText{line.data() + 4}, name);
    return;
  }
}

}  // namespace

void put_link_page(const LinkPageOptions& options, std::span<char*> args) {
  LinkPage page(options);
  put_head(page, "Shift_JIS");
  for (char* arg : args) put_link(&page, arg);
  put_foot(page);
}

int put_link(LinkPage* page, char* arg) {
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
    if (page->folder != arg) {
      // The heading shows the folder with '/' separators; the kept copy keeps
      // its backslashes for the next comparison.
      page->folder = arg;
      ChgChr(arg, '\\', '/');
      new_list(page, arg);
    }
  } else if (page->first_list) {
    new_list(page, nullptr);
  }
  // Also when no list was opened: a first folder part of two blanks is the
  // folder the page starts with, and "  \b.url" gives no heading and no <OL>.
  page->first_list = false;
  put_first_url_line(page, &in, name);
  text_close(&in);
  return 0;
}
