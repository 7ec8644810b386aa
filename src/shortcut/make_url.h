// Writing one Internet Shortcut (.url) file.
#ifndef FAVLINK_SHORTCUT_MAKE_URL_H_
#define FAVLINK_SHORTCUT_MAKE_URL_H_

#include <cstddef>

/// Size of each work area of make_url (text and NUL).
inline constexpr int kUrlArea = 2048;

/// Longest absolute URL: the first text written, "[InternetShortcut]\nURL=%s\n",
/// is 24 bytes longer and must fit its area.
inline constexpr std::size_t kMaxUrl = kUrlArea - 1 - 24;

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

/// Steps 10 to 14 of make_url: creates path as a new file and writes the
/// shortcut of url into it (with the icon lines when icon is not null).
/// Results: 0 written; 1 a file exists at path, left as it is; 2 passed over
/// with "too long icon file ... %s\n" naming shown_name; -1 reported failure
/// to create, write or close: stop.
int write_url_file(const char* path, const char* url, const char* icon, int icon_index,
                   const char* shown_name);

/// True when name is, ignoring ASCII case, "con", "prn", "aux", "nul" or
/// "clock".   "Nul" -> true;  "con " "com1" -> false
bool is_reserved(const char* name);

/// Makes name safe as a file name, in place: ':' -> ';', '/' '\\' '|' -> '!',
/// '<' -> '(', '>' -> ')', '*' '?' -> ' ', '"' -> '\'', and ".." -> two
/// blanks (the walk goes on at the second, so "..." -> "  ."). A lead byte
/// (0x80..0x9F, 0xE0..0xFC) followed by a byte from 0x40 up starts a
/// double-byte character, passed over whole; a lead byte before any lower
/// byte is a single byte, so the byte after it is cleaned as usual.
/// With utf8 every byte is looked at alone: no byte of a UTF-8 sequence is
/// ASCII, so each well-formed character passes whole all the same.
///   "a/b:c" -> "a!b;c";  "\x83\x5C" (ソ) stays;  "\xE3/x" -> "\xE3!x"
///   utf8: "\xC3\x9F\\" (ß\) -> "\xC3\x9F!"
void clean_name(char* name, bool utf8 = false);

#endif  // FAVLINK_SHORTCUT_MAKE_URL_H_
