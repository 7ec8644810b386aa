// The markup of a link page: its head, lists, headings, entries and foot,
// and the bookmark file that the tree path (-x) writes for format type 2.
// Every text that comes from an argument, a file or the title goes through
// one sink: as it stands on the default path, valid UTF-8 and escaped on the
// tree path.
#ifndef FAVLINK_LINKPAGE_MARKUP_H_
#define FAVLINK_LINKPAGE_MARKUP_H_

#include <string>
#include <vector>

#include "linkpage/options.h"

/// One page being written: its options and what the writer keeps between
/// calls. The driver of the page (put_link, put_tree) owns it for the run
/// and passes it to every routine below; the options stay the caller's.
struct LinkPage {
  explicit LinkPage(const LinkPageOptions& o) : options(o) {}

  const LinkPageOptions& options;
  bool escaped = false;  // the tree path: texts go out with & < > " escaped
  // Folder part of the last heading, as in the argument. The default path
  // starts at two blanks, the tree path at "" (its top list).
  std::string folder = "  ";
  bool first_list = true;  // until the first file that could be opened
  int entry = 1;           // number of the next entry of the current list
  // Bookmark type: the folders whose lists are open, outermost first.
  std::vector<std::string> open;
};

/// A link as the page shows it: its address and, read from its .url file on
/// the tree path, the address of its icon, its description and its tags;
/// null where the file holds none.
struct LinkText {
  const char* url;
  const char* icon = nullptr;
  const char* description = nullptr;
  const char* tags = nullptr;
};

/// Writes the text s (a name, a title, any text but an address) on standard
/// output through the page's sink: as it stands, or (page.escaped: a page
/// that declares UTF-8) as valid UTF-8, each byte that begins no well-formed
/// sequence U+FFFD (valid_utf8), with & < > " as &amp; &lt; &gt; &quot;.
///   "a&b<\"c\">" -> "a&b<\"c\">";  escaped: "a&amp;b&lt;&quot;c&quot;&gt;"
///   escaped: "a\xE9&" -> "a\xEF\xBF\xBD&amp;"
void put_text(const LinkPage& page, const char* s);

/// Writes the address s through the same sink: as it stands, or
/// (page.escaped) as put_text does, with each byte that begins no
/// well-formed sequence %XX (percent_invalid) instead of U+FFFD.
///   escaped: "http://x/?a=\xE9&b" -> "http://x/?a=%E9&amp;b"
void put_address(const LinkPage& page, const char* s);

/// Writes the page head declaring charset, then the title line.
///   "UTF-8", title "A&B", escaped
///     -> "...charset=UTF-8\">\n...<CENTER><H2>A&amp;B</H2></CENTER><HR>\n"
void put_head(const LinkPage& page, const char* charset);

/// Starts a list: closes the one in progress with a rule (none before the
/// first), writes the heading when heading is not null, opens the list and
/// numbers its entries from 1.
///   comment type, after a list, "Tech/Web" -> "</DL><HR>\n<H3>[Tech/Web]</H3>\n<DL>\n"
///   list type, first list, null -> "<OL>\n"
void new_list(LinkPage* page, const char* heading);

/// Writes the link named name as the next entry of the list, numbered
/// "%02d. " in comment type; the number stops at the largest int. Comment
/// type writes the link's description, when it has one, in the entry's <DD>
/// line, each control byte a blank; list type shows only the address.
///   {"u"}, "n", entry 7, comment type -> "<DT>07. <A href=\"u\">n</A>\n<DD> \n"
///   {"u", null, "d&e"}, escaped      -> "<DT>01. <A href=\"u\">n</A>\n<DD> d&amp;e\n"
///   {"u"}, "n", list type             -> "<LI><A href=\"u\">n</A><BR>\n"
void put_item(LinkPage* page, const LinkText& link, const char* name);

/// Closes the list (exactly once, whether one was opened or not) and writes
/// the foot lines.   list type -> "</OL>\n<HR>\n</BODY>\n</HTML>\n"
void put_foot(const LinkPage& page);

/// Bookmark type: the head of a bookmark file with the title, and its top list.
void bookmark_head(const LinkPage& page);

/// Makes each control byte of s (below 0x20, and DEL) a blank, in place: the
/// rule of every name a bookmark file holds. Byte by byte: in UTF-8 and in
/// Shift_JIS alike these bytes are whole characters, never part of one.
///   "a\nb\x7F" -> "a b "
void blank_controls(std::string* s);

/// The folders of path, outermost first: its parts between '/' and '\\',
/// empty and "." parts left out.   "a\\./b//c" -> {"a", "b", "c"};  "" -> {}
std::vector<std::string> folder_parts(const std::string& path);

/// Bookmark type: closes and opens folder lists until exactly the folders of
/// path (folder_parts) are open. A heading is the folder's name with each
/// control byte (below 0x20, and DEL) a blank.
///   open {News, Old}, "News\\Daily" -> "</DL><p>\n<DT><H3>Daily</H3>\n<DL><p>\n"
///   open {}, "a\nb" -> "<DT><H3>a b</H3>\n<DL><p>\n"
void bookmark_folders(LinkPage* page, const std::string& path);

/// Bookmark type: one link, added at seconds since 1970 (the time of its
/// .url file; before 1970 negative); its icon and tags, when it has them, in
/// ICON_URI and TAGS, its description in a <DD> line after it. Its caption,
/// tags and description are written with each control byte (below 0x20, and
/// DEL) a blank.   "u", "n", 1700000000
///   -> "<DT><A HREF=\"u\" ADD_DATE=\"1700000000\">n</A>\n"
///   "u", "n\tm\x7F", -100000000 -> "<DT><A HREF=\"u\" ADD_DATE=\"-100000000\">n m </A>\n"
///   {"u", "http://i", "d", "a,b"}, "n", 1
///     -> "<DT><A HREF=\"u\" ADD_DATE=\"1\" ICON_URI=\"http://i\" TAGS=\"a,b\">n</A>\n<DD>d\n"
void bookmark_item(const LinkPage& page, const LinkText& link, const char* name, long long added);

/// Bookmark type: closes every folder list, then the top list.
void bookmark_foot(LinkPage* page);

#endif  // FAVLINK_LINKPAGE_MARKUP_H_
