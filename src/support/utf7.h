// UTF-7, the form in which a .url file's .W sections hold what the ANSI code
// page cannot spell (an internationalised host, a description in Cyrillic):
// decoded to the UTF-8 of the -x page, encoded from the UTF-8 of a bookmark
// file's descriptions and tags.
#ifndef FAVLINK_SUPPORT_UTF7_H_
#define FAVLINK_SUPPORT_UTF7_H_

#include <string>
#include <string_view>

/// Decodes the UTF-7 text s into *out (cleared first) as UTF-8. False when s
/// does not decode; *out then holds a part of it and is not to be used.
/// The rules, an example each (tree_page.t's .W case has them all):
/// - a byte from 0x20 to 0x7E other than '+' stands for itself:
///     "http://a/" -> "http://a/"
/// - "+-" is "+":   "1+-2" -> "1+2"
/// - any other '+' starts a run of base64 (A-Z a-z 0-9 + /), 6 bits a byte,
///   of UTF-16 units, big-endian; it ends before the first byte outside that
///   set, and a '-' there is absorbed:
///     "+BEAERA-/" -> "рф/";  "+BEAERA.h" -> "рф.h";  "+AKA-" -> U+00A0
/// - a high surrogate followed at once by a low one, in the same run, is one
///   code point:   "+2D3eAA-" -> U+1F600 (F0 9F 98 80)
/// - does not decode: a control character, as itself or from a run: below
///   U+0020, DEL, U+0080 to U+009F ("a\tb", "\x7F", "+AAA-" U+0000,
///   "+AA0ACg-" CR LF, "+AH8-", "+AIA-", "+AJ8-"), which no address holds: a
///   NUL would cut it, a line break split the page's line; a byte from 0x80
///   up ("\xE9"); a '+' that no base64 byte follows ("+.", "a+"); bits left
///   over at the end of a run that make a whole base64 byte or are not zero
///   ("+AOkA-", "+AOl-"); a surrogate that is not in such a pair ("+2D0-",
///   "+3gA-").
bool utf7_to_utf8(std::string_view s, std::string* out);

/// Encodes the UTF-8 text s into *out (cleared first) as UTF-7 that
/// utf7_to_utf8 gives back, when s holds no control character (which that
/// decoder refuses): A-Z a-z 0-9, blank and '(),-./:?!"#$%&*;<=>@[]^_`{|}
/// stand for themselves, '+' is "+-", and every run of other characters is
/// one '+' run of the base64 of their UTF-16 units, its last bits padded
/// with zeros, closed by '-' always. A byte that begins no well-formed
/// sequence is U+FFFD.
///   "a+b" -> "a+-b";  "\xC3\xA9~" (é~) -> "+AOkAfg-";  "\xF0\x9F\x98\x80" -> "+2D3eAA-";
///   "\xFF" -> "+//0-"
void utf8_to_utf7(std::string_view s, std::string* out);

#endif  // FAVLINK_SUPPORT_UTF7_H_
