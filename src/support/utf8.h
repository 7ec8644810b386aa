// UTF-8 written and checked in one place: a code point encoded, the length
// of the well-formed sequence at a position, a whole buffer checked, and a
// text made valid for a page that declares UTF-8. Well-formed means no
// overlong form, no surrogate, nothing above U+10FFFF.
#ifndef FAVLINK_SUPPORT_UTF8_H_
#define FAVLINK_SUPPORT_UTF8_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

/// The most bytes one code point takes in UTF-8.
constexpr std::size_t kUtf8Max = 4;

/// Writes the UTF-8 form of the code point c (at most 0x10FFFF; a surrogate
/// gets the three bytes of its value) at out, which has room for kUtf8Max
/// bytes, and returns how many it wrote. No terminator is written.
///   0x41 -> "A";  0xE9 -> "\xC3\xA9";  0x1F600 -> "\xF0\x9F\x98\x80"
std::size_t utf8_encode(std::uint32_t c, char* out);

/// What the n bytes at p (n > 0) begin with: the length of a well-formed
/// sequence, 1 to 4 (ASCII 1); 0 when p[0] can begin none or a byte after
/// it is out of its range; -n when all n bytes are a sequence right as far as
/// it goes, which the bytes after them may complete.
///   "\xC3\xA9x" -> 2;  "\xC0\xAF" -> 0;  "\xED\xA0\x80" -> 0;  "\xE3\x81" -> -2
int utf8_length(const unsigned char* p, std::size_t n);

/// Checks n bytes at p as UTF-8. *used receives the length of the whole
/// sequences checked; the 1 to 3 bytes after them, when there are any, begin
/// a sequence that may yet be completed by the bytes that follow. False at
/// the first byte that cannot be part of valid UTF-8.
///   "a\xC3\xA9" -> true, 3;  "a\xE3\x81" -> true, 1;  "\xC0\xAF" "\xED\xA0\x80" -> false
bool utf8_prefix(const unsigned char* p, std::size_t n, std::size_t* used);

/// True when the whole of s is well-formed UTF-8 (nothing cut at its end).
///   "a\xC3\xA9" -> true;  "a\xE3\x81" -> false
bool is_utf8(std::string_view s);

/// Appends s to *out as valid UTF-8, for a name or a text: each byte that
/// does not begin a well-formed sequence (a stray continuation byte, a lead
/// byte whose sequence is broken or cut by the end) becomes U+FFFD, and the
/// walk goes on at the byte after it; the rest is appended as it stands.
///   "a\xE9z" -> "a\xEF\xBF\xBDz";  "\xE3\x81z" -> "\xEF\xBF\xBD\xEF\xBF\xBDz"
void valid_utf8(std::string_view s, std::string* out);

/// Appends the address s to *out as valid UTF-8 the way a browser sends it:
/// each byte that valid_utf8 would replace (always one above 0x7F) is
/// written %XX, in upper-case hex; the rest as it stands.
///   "http://x/\xE9" -> "http://x/%E9";  "/\xC3\xA9\xC3" -> "/\xC3\xA9%C3"
void percent_invalid(std::string_view s, std::string* out);

#endif  // FAVLINK_SUPPORT_UTF8_H_
