// The steps both HTML scanners take over one line: the next tag outside
// comments, the href of a link, and where the -s folder stands.
#ifndef FAVLINK_SHORTCUT_SCAN_STEPS_H_
#define FAVLINK_SHORTCUT_SCAN_STEPS_H_

#include <cstddef>
#include <cstring>

#include "shortcut/match.h"

/// Where a scan stands towards the -s folder: before it (links are not
/// written), inside it, or taking every link (no -s).
enum class SelectMode { kWaiting, kInside, kAll };

/// The next '<' at or after p that lies outside comments, or null when the
/// line holds none. A comment runs from "<!--" to the next "-->", over lines:
/// *in_comment carries it from one line to the next.
///   "a<!--<A -->b<B" -> the '<' of "<B";  "x<!--y" -> null, *in_comment set
char* next_tag(char* p, bool* in_comment);

/// p at the '<' of a link: the first "HREF=\"" or "href=\"" before the tag's
/// first '>', or where the search stopped (that '>', or the terminator).
///   "<A NAME=x HREF=\"u\">" -> the 'H';  "<A NAME=x>" -> the '>'
char* find_href(char* p);

/// True at the start of a link: "<A " or "<a ", or "<A" at a tab or the end
/// of the line.
///   "<A HREF" "<a\tx" "<A" -> true;  "<ABBR" "<A\n" -> false
inline bool link_start(const char* p) {
  return p[0] == '<' && (p[1] == 'A' || p[1] == 'a') &&
         (p[2] == ' ' || p[2] == '\t' || p[2] == '\0');
}

/// True when find_href found the attribute at r.
inline bool at_href(const char* r) { return *r == 'H' || *r == 'h'; }

/// The first tag at or after p that begins with upper or lower, or null.
///   find_tag("x<B></a>", "</A>", "</a>") -> the '<' of "</a>"
template <std::size_t N>
char* find_tag(char* p, const char (&upper)[N], const char (&lower)[N]) {
  while ((p = std::strchr(p, '<')) != nullptr && !starts(p, upper, lower)) ++p;
  return p;
}

#endif  // FAVLINK_SHORTCUT_SCAN_STEPS_H_
