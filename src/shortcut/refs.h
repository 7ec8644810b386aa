// What -x reads the way a browser does: character references and URI schemes.
#ifndef FAVLINK_SHORTCUT_REFS_H_
#define FAVLINK_SHORTCUT_REFS_H_

/// Decodes the character references of [begin, end) in place and gives the
/// new end (a reference is never shorter than what it stands for). Decoded:
/// &amp; &lt; &gt; &quot; &apos; and &#N; / &#xH; (x or X), a number to UTF-8
/// when utf8, else only below 0x80. Any other reference, and a number that
/// names no character (0, a surrogate, above 0x10FFFF), stays as written.
///   "a&amp;b&#233;&#0;&x;" (utf8) -> "a&b\xC3\xA9&#0;&x;"
char* decode_refs(char* begin, char* end, bool utf8);

/// decode_refs over a whole NUL-terminated text.
void decode_refs(char* s, bool utf8);

/// True when s begins with a URI scheme: a letter, then letters, digits,
/// '+', '-' or '.', two characters or more in all, then ':'.
///   "https://x" "mailto:a" "a.b-c+d:" -> true;  "C:\\x" "x" ":" "1a:" -> false
bool uri_scheme(const char* s);

#endif  // FAVLINK_SHORTCUT_REFS_H_
