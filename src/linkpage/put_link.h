// Link page mode: .url files to one HTML page on standard output.
#ifndef FAVLINK_LINKPAGE_PUT_LINK_H_
#define FAVLINK_LINKPAGE_PUT_LINK_H_

#include <span>

#include "linkpage/markup.h"  // IWYU pragma: export (LinkPage, LinkPageOptions)

/// Read size for .url files: lines come in pieces of at most 2047 bytes.
inline constexpr int kUrlLine = 2048;

/// Writes the whole page: the head lines, declaring Shift_JIS, and the title
/// line; the entry of each of args in order (put_link); the foot lines. The
/// arguments are worked on in place.
void put_link_page(const LinkPageOptions& options, std::span<char*> args);

/// Adds the entry of one .url file to page. arg is worked on in place: its
/// extension and folder part are cut off. Writes the folder heading or opens
/// the top list as needed, then the link of the file's first "URL=" line.
/// Returns 0 when the file opened (with or without a link line), -2 when it
/// cannot be opened ("%s: not found\n" reported, nothing written).
///   "News\b.url" with "URL=u2" -> "<H3>[News]</H3>\n<OL>\n<LI><A href="u2">b</A><BR>\n"
int put_link(LinkPage* page, char* arg);

#endif  // FAVLINK_LINKPAGE_PUT_LINK_H_
