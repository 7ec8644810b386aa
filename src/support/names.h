// Names in the platform's Unicode form: the UTF-8 of a Shift_JIS name. One
// implementation per platform, names-posix.cc (iconv) / names-win32.cc (the
// Windows code page).
#ifndef FAVLINK_SUPPORT_NAMES_H_
#define FAVLINK_SUPPORT_NAMES_H_

#include <string>

/// Appends the UTF-8 form of the Shift_JIS (CP932) text s to out, character
/// by character: ASCII, a lead byte with a second byte from 0x40 up, or any
/// other single byte. A character that is not CP932 is appended as it stands
/// on POSIX, where a name may hold any byte. On Windows, whose names must be
/// valid UTF-16, the lead byte of a two-byte one becomes U+FFFD and its
/// second byte follows, a '\' or '|' made '!' (no longer part of a
/// character, it would split or spoil the name); a single byte is appended
/// as it stands, and the UTF-16 name has U+FFFD for it.
///   "\x83\x5C" -> "\xE3\x82\xBD" (ソ);  "a\x81!" -> "a\x81!"
///   "\x85\x5C" -> POSIX "\x85\x5C", Windows "\xEF\xBF\xBD!"
void cp932_to_utf8(const char* s, std::string* out);

#endif  // FAVLINK_SUPPORT_NAMES_H_
