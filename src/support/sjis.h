// Shift_JIS (CP932) aware string primitives.
//
// Text is a NUL-terminated byte string in which a character is one byte or
// two. The second byte of a double-byte character may be any value from 0x40
// up, the backslash 0x5C and the bar 0x7C among them, so a search that steps
// byte by byte would split characters such as 表 (0x95 0x5C) or ソ (0x83 0x5C).
// These routines step a whole character at a time. Each routine keeps its own
// lead-byte rule:
//
//   routine                          lead bytes                 lone lead byte before NUL
//   Strchr Strrchr ChgChr index2     0x80..0x9F, 0xE0..0xFC     a single-byte character
//   sp_skip                          none                       -
#ifndef FAVLINK_SUPPORT_SJIS_H_
#define FAVLINK_SUPPORT_SJIS_H_

#include <cstring>
#include <string_view>

/// Lead byte of Strchr, Strrchr, ChgChr, index2 and the name cleaning of the
/// shortcut writer: 0x80..0x9F or 0xE0..0xFC. 0x80 counts; 0xFD..0xFF and
/// the half-width katakana 0xA1..0xDF do not.
constexpr bool sjis_lead(unsigned char c) {
  return (c >= 0x80 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

/// An ASCII capital lowered; every other byte as it is (no byte of a
/// double-byte character is a capital's lead, so a byte walk may use it on
/// the parts it compares).   'A' -> 'a';  'a' '[' '\x82' stay
constexpr char ascii_lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

/// True when a and b are the same text but for the case of ASCII letters:
/// the one case-insensitive compare of labels, tags and section names.
///   equal_nocase("UTF-8", "utf-8") -> true;  equal_nocase("a", "ab") -> false
constexpr bool equal_nocase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
  }
  return true;
}

/// True when the NUL-terminated text p begins with lit, ASCII letters in any
/// case; p may be shorter than lit.   starts_nocase("<META x", "<meta") -> true
inline bool starts_nocase(const char* p, std::string_view lit) {
  return equal_nocase(std::string_view(p, ::strnlen(p, lit.size())), lit);
}

/// First character start whose byte is the low byte of c, or null. The byte
/// is compared before the lead-byte test, so lead bytes are compared and
/// second bytes never are; the terminator is never compared (c == 0 -> null).
///   Strchr("\x95\x5C\x8E\xA6" /* 表示 */, '\\') -> null;  Strchr("a\\b", '\\') -> s+1
char* Strchr(const char* s, int c);

/// As Strchr, but the last matching character start, or null.
///   Strrchr("\x83\x5C\x83\x74\x83\x67\\a" /* ソフト\a */, '\\') -> s+6
char* Strrchr(const char* s, int c);

/// Overwrites every character start whose byte is `from` with `to`, in place,
/// and returns s. The lead-byte test is made on the byte after the overwrite.
///   ChgChr("a\\b", '\\', '/') -> "a/b";  a 0x5C second byte stays.
char* ChgChr(char* s, int from, int to);

/// First single-byte character of s whose byte is a member of set (its bytes
/// up to its terminator), or null. A double-byte character is stepped over
/// whole: neither of its bytes is compared. A lead byte right before the
/// terminator is compared.   index2("a.b", ".") -> s+1;  index2("\x83\x5C", "\\") -> null
char* index2(const char* s, const char* set);

/// First byte that is neither a space nor a tab (the terminator at worst).
///   sp_skip("\t  x") -> s+3
char* sp_skip(const char* s);

/// A new heap copy of s, owned by the caller. Never returns null: when no
/// memory can be had it reports "cannot get memory\n" and exits with status 1.
char* setstr(const char* s);

#endif  // FAVLINK_SUPPORT_SJIS_H_
