// -x in shortcut mode: a browser's own bookmark file (JSON) read into the same
// tree of folders of .url files as its HTML export.
#ifndef FAVLINK_SHORTCUT_SCAN_JSON_H_
#define FAVLINK_SHORTCUT_SCAN_JSON_H_

#include "shortcut/options.h"
#include "support/textio.h"

/// What a bookmark file is, by its first bytes: JSON when its first byte
/// after an optional UTF-8 byte order mark and blanks (space, tab, CR, LF) is
/// '{'; Firefox's compressed JSON when it begins with "mozLz40\0"; else HTML.
enum class BookmarkFormat { kHtml, kJson, kMozLz4 };

/// The format of the file open in in, read from its start; the file is left
/// at its start again. A file that cannot be read counts as HTML (its reader
/// then reports the error).
BookmarkFormat bookmark_format(TextIn* in);

/// Reads the JSON (or compressed JSON) bookmark file open in in, named file,
/// and hands its folders and links to the writer of the HTML path, laid out
/// as the browser's own HTML export lays them out:
///  - Chromium ("roots" at the top): the folder roots.bookmark_bar named by
///    its "name", then the children of roots.other and roots.synced at the
///    top; "type" "url" nodes are links ("name", "url", "date_added" in
///    microseconds since 1601), "folder" nodes folders; anything else read
///    past.
///  - Firefox ("type" "text/x-moz-place-container", "root" "placesRoot"): the
///    children of the bookmarksMenuFolder root at the top, then the
///    toolbarFolder, unfiledBookmarksFolder and mobileFolder roots, each a
///    folder when it has children, named by its "title" (empty or the
///    internal name: the name the browser shows); "text/x-moz-place" nodes
///    with a "uri" are links ("title", "uri", "dateAdded" in microseconds
///    since 1970, "tags", the bookmarkProperties/description annotation,
///    "iconUri"/"iconuri"), and the tag folders of the tagsFolder root add
///    their names to the tags of the links whose address they hold.
/// The whole file is read once before anything is written: one that is not
/// well-formed JSON (a trailing comma is allowed), nests deeper than
/// kJsonDepthMost, gives a field the wrong type or has neither layout at its
/// top gives "%s: not a bookmark file (%s, line %lld)\n", a compressed file
/// whose block does not decode "%s: not a bookmark file (damaged LZ4
/// block)\n"; nothing is written then. Ends with the summary line, and
/// returns as scan_tree does.
int scan_json(const char* file, TextIn* in, BookmarkFormat format, const ShortcutOptions& o);

/// The deepest nesting of arrays and objects a JSON bookmark file may have:
/// a folder tree 10,000 deep, each folder two levels (its object and its
/// "children").
inline constexpr int kJsonDepthMost = 20004;

#endif  // FAVLINK_SHORTCUT_SCAN_JSON_H_
