// Link page mode: .url files to one HTML page on standard output.
#ifndef FAVLINK_LINKPAGE_PUT_LINK_H_
#define FAVLINK_LINKPAGE_PUT_LINK_H_

#include "linkpage/markup.h"  // IWYU pragma: export (the page state, g_page)

/// Read size for .url files: lines come in pieces of at most 2047 bytes.
inline constexpr int kUrlLine = 2048;

/// Writes the page head lines, declaring Shift_JIS, and the title line.
void page_head();

/// Adds the entry of one .url file. arg is worked on in place: its extension
/// and folder part are cut off. Writes the folder heading or opens the top
/// list as needed, then the link of the file's first "URL=" line.
/// Returns 0 when the file opened (with or without a link line), -2 when it
/// cannot be opened ("%s: not found\n" reported, nothing written).
///   "News\b.url" with "URL=u2" -> "<H3>[News]</H3>\n<OL>\n<LI><A href="u2">b</A><BR>\n"
int put_link(char* arg);

/// Closes the list (exactly once, opened or not) and writes the foot lines.
void page_tail();

#endif  // FAVLINK_LINKPAGE_PUT_LINK_H_
