// Shortcut mode: finding the links of an HTML or bookmark file.
#ifndef FAVLINK_SHORTCUT_SCAN_HTML_H_
#define FAVLINK_SHORTCUT_SCAN_HTML_H_

#include "shortcut/options.h"

/// Read size of the HTML file: a piece is a line or its next 1023 bytes.
inline constexpr int kHtmlRead = 1024;
/// Room for the select value (text and NUL); a longer one never matches.
inline constexpr int kSelectArea = 1024;

/// Scans the HTML file once and calls make_url for every link "<A ...
/// HREF="...">caption</A>" (upper or lower case) that lies outside comments
/// and, when o.select is not empty, inside the top-level bookmark folder
/// whose caption equals it (the scan ends at the "</DL>" closing that
/// folder). Returns 0 at the end, -1 when the file cannot be opened
/// ("%s: not found\n") or a .url file cannot be written.
int scan_html(const char* html, const ShortcutOptions& o);

#endif  // FAVLINK_SHORTCUT_SCAN_HTML_H_
