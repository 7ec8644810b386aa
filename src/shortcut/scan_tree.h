// -x in shortcut mode: a bookmark file read as a browser reads it, into a
// tree of folders of .url files.
#ifndef FAVLINK_SHORTCUT_SCAN_TREE_H_
#define FAVLINK_SHORTCUT_SCAN_TREE_H_

#include "shortcut/options.h"

/// Scans the HTML file as scan_html does, with these differences: lines are
/// whole, however long; character references are decoded in href values and
/// captions; the file's encoding is UTF-8 when it begins with a byte order
/// mark, else the first one a META tag before its first "<DL>" names by a
/// label charset_of_label knows, else UTF-8 when the whole file is valid
/// UTF-8, else Shift_JIS (captions and headings of an encoding that converts
/// are converted to UTF-8 as they are taken, before their references); a
/// "<DT>" with a heading "<H3 ...>name</H3>" is a folder whose next list
/// holds its entries, made as a subfolder (a link, file or junction there
/// gives "\"%s\": not a folder\n", a failure "\"%s\": cannot create
/// folder\n", and its entries are passed over); with select, the selected
/// folder's own list is the output folder. A link's file is written when its
/// entry ends (at the next "<DT>", "<DL>", "</DL>", "<H3>", "<HR>" or link,
/// or the end of the file, tag names in any case), with the text of its
/// first "<DD>" (up to such a tag, a "</DD>" or a second "<DD>") as its
/// description, its TAGS as its tags and its http: or https: ICON_URI as
/// its icon, each as plain text in UTF-8 (UrlExtras). Ends every scan of a file it could
/// open with "%d written, %d already there, %d passed over\n", where passed
/// over counts every other link met (inside the -s folder), the one whose
/// file could not be written among them. A read error stops the scan with
/// "\"%s\": read error\n", a line longer than memory with "cannot get
/// memory\n"; the files written before stay, and the summary counts them.
/// Returns 0, -1 when the file cannot be opened or a .url file or folder
/// cannot be written, kScanNotWhole when the file could not be read whole.
int scan_tree(const char* html, const ShortcutOptions& o);

/// What scan_tree gives when it could not read its file whole (a read error,
/// or memory ran out): the run's exit status is then 1.
inline constexpr int kScanNotWhole = 1;

#endif  // FAVLINK_SHORTCUT_SCAN_TREE_H_
