// Writing one Internet Shortcut (.url) file.
#ifndef FAVLINK_SHORTCUT_MAKE_URL_H_
#define FAVLINK_SHORTCUT_MAKE_URL_H_

/// Size of each work area of make_url (text and NUL).
inline constexpr int kUrlArea = 2048;

/// Longest prefix-plus-caption a file name is made from.
inline constexpr int kMaxNameSource = 254;

/// Writes the .url file of one link:
///   "[InternetShortcut]" CR LF "URL=" absolute URL CR LF
///   and, when icon is not null, "IconIndex=" n CR LF "IconFile=" icon CR LF
/// into outdir (joined with the platform separator; empty: the current
/// folder) as prefix + cleaned caption + ".url". A URL not starting "http:" or
/// "ftp:" is joined to url_prefix, or passed over when that is empty. The
/// caption is changed in place. An existing file is never opened or changed.
/// Results: 0 written or passed over; 1 passed over (blank name, or the file
/// exists); -1 the file could not be created, written or closed: stop.
///   caption "a/b:c", link "a.html", prefix "dir/" -> file "a!b;c.url" holding
///   "[InternetShortcut]\r\nURL=dir/a.html\r\n" (36 bytes)
int make_url(char* caption, const char* url_prefix, const char* link_url, const char* select,
             const char* outdir, const char* icon, int icon_index, const char* name_prefix);

/// Makes name safe as a file name, in place: ':' -> ';', '/' '\\' '|' -> '!',
/// '<' -> '(', '>' -> ')', '*' '?' -> ' ', '"' -> '\'', and ".." -> two
/// blanks (the walk goes on at the second, so "..." -> "  ."). A lead byte
/// (0x80..0x9F, 0xE0..0xFC) followed by a byte from 0x40 up starts a
/// double-byte character, passed over whole; a lead byte before any lower
/// byte is a single byte, so the byte after it is cleaned as usual.
///   "a/b:c" -> "a!b;c";  "\x83\x5C" (ソ) stays;  "\xE3/x" -> "\xE3!x"
void clean_name(char* name);

#endif  // FAVLINK_SHORTCUT_MAKE_URL_H_
