// The encodings -x reads a bookmark file in: the labels a META tag names them
// by, the names the platform converters know them by, the check that a whole
// file is UTF-8, and the conversion of a name to UTF-8 (by the platform:
// iconv on POSIX, MultiByteToWideChar on Windows, charset-posix.cc /
// charset-win32.cc).
#ifndef FAVLINK_SUPPORT_CHARSET_H_
#define FAVLINK_SUPPORT_CHARSET_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "support/textio.h"

/// A bookmark file's encoding. UTF-8 and Shift_JIS names go to the name steps
/// as they stand; every other encoding is converted to UTF-8 first.
// The windows-125x code pages stand together, in order.
enum class Charset {
  kShiftJis,
  kUtf8,
  kWindows1250,
  kWindows1251,
  kWindows1252,  // also iso-8859-1 and us-ascii, read as browsers read them
  kWindows1253,
  kWindows1254,
  kWindows1255,
  kWindows1256,
  kWindows1257,
  kWindows1258,
  kIso8859_2,
  kIso8859_5,
  kIso8859_7,
  kIso8859_15,
  kKoi8R,
  kKoi8U,
  kGbk,  // gbk, gb2312, x-gbk
  kGb18030,
  kBig5,   // big5, big5-hkscs
  kEucKr,  // euc-kr, ks_c_5601-1987 (the Windows superset, code page 949)
  kEucJp,
};
/// The number of encodings: a table with a row for each is this long.
constexpr std::size_t kCharsets = static_cast<std::size_t>(Charset::kEucJp) + 1;

/// True when names of the encoding are converted to UTF-8 before anything
/// else is done with them.
constexpr bool converts(Charset c) { return c != Charset::kShiftJis && c != Charset::kUtf8; }

/// The names the platform converters know an encoding by: iconv's
/// (charset-posix.cc) and the Windows code page (charset-win32.cc).
struct CharsetNames {
  const char* iconv;
  unsigned code_page;
};

/// The names of the encoding c, from one table of them all.
///   kWindows1251 -> "CP1251", 1251;  kUtf8 -> "UTF-8", 65001 (CP_UTF8)
const CharsetNames& charset_names(Charset c);

/// The encoding a charset label names, ASCII case ignored; false (and *out
/// untouched) for a label of none of them.
///   "UTF8" -> kUtf8;  "x-SJIS" -> kShiftJis;  "latin1" -> kWindows1252;  "utf-16" -> false
bool charset_of_label(std::string_view label, Charset* out);

/// True when the open file in, from its start and as the text reader reads it
/// (up to a Ctrl-Z on Windows), is valid UTF-8 throughout; false too when it
/// cannot be read again. The file read is the one open, never its name again
/// (which may name something else by now), and the reader is put back where
/// it was.
bool file_is_utf8(const TextIn& in);

/// Appends the UTF-8 form of the Shift_JIS (CP932) text s to out, character
/// by character: ASCII, a lead byte with a second byte from 0x40 up, or any
/// other single byte, as the name steps split it. A character that CP932
/// does not define becomes U+FFFD, as an undefined byte of the other
/// encodings does; of a two-byte one only the lead byte, and an ASCII second
/// byte follows it, a '\' or '|' made '!' (no longer part of a character, it
/// would split or spoil the name), while any other is U+FFFD too.
///   "\x83\x5C" -> "\xE3\x82\xBD" (ソ);  "a\x81!" -> "a\xEF\xBF\xBD!"
///   "\x85\x5C" -> "\xEF\xBF\xBD!";  "\x85\x85" -> "\xEF\xBF\xBD\xEF\xBF\xBD"
void cp932_to_utf8(const char* s, std::string* out);

/// Appends the UTF-8 form of one CP932 character, the n bytes (1 or 2) at p,
/// to *out by the platform's converter (charset-posix.cc, charset-win32.cc);
/// false, and nothing appended, when CP932 does not define it.
///   "\x83\x5C" -> "\xE3\x82\xBD";  "\xB1" -> "\xEF\xBD\xB1" (ｱ);  "\x85\x5C" -> false
bool cp932_char(const unsigned char* p, std::size_t n, std::string* out);

/// Appends the UTF-8 form of s, a text of the encoding c (one that converts),
/// to *out. A byte sequence the encoding does not define becomes U+FFFD, one
/// for each byte where no character starts.
///   kWindows1251 "\xCF\xF0\xE8" -> "При";  kWindows1251 "a\x98" -> "a\xEF\xBF\xBD"
void charset_to_utf8(Charset c, const char* s, std::string* out);

/// p at "<meta" (ASCII case ignored), end where its tag ends (the caller
/// finds it). True when the tag's first "charset" with a '=' after it, blanks
/// allowed on both sides of the '=', names an encoding by a label
/// charset_of_label knows, into *out: as the attribute charset (HTML5) or
/// within another's value (CONTENT), ASCII case ignored. The label, quoted
/// or not, runs to a quote, ';', '/', blank or '>'.
///   <META CONTENT="text/html; charset=Windows-1251"> -> kWindows1251
///   <meta NAME="charset" content="charset = koi8-r"> -> kKoi8R
///   <meta charset="utf-16"> -> false
bool meta_charset(const char* p, const char* end, Charset* out);

/// The encoding of one bookmark file as -x learns it while reading it. A
/// byte order mark or a META tag declares it, or the user names it (-c),
/// which counts as a declaration from the start: no META tag is then looked
/// at, and only a byte order mark changes it. Until one of them does, the
/// first name or address that needs it has the whole open file checked,
/// once: UTF-8 when all of it is, else Shift_JIS. A file declared before its
/// first link is so read only once; a declaration after the check still
/// counts, as it would had the check come first.
class CharsetGuess {
 public:
  /// named: the encoding the user named, or none.
  CharsetGuess(const TextIn& in, std::optional<Charset> named) : in_(in) {
    if (named) declare(*named);
  }

  /// line is the file's first line: a UTF-8 byte order mark at its start
  /// declares UTF-8. Gives where the text begins, after the mark.
  char* after_bom(char* line);

  /// The encoding named by a declaration (a META tag's label).
  void declare(Charset c);

  /// True once a byte order mark or a META tag has named the encoding.
  bool declared() const { return declared_; }

  /// The encoding, known from here on: the file is checked first when
  /// nothing has declared it and it has not been checked yet.
  Charset need();

 private:
  const TextIn& in_;  // the open file, for the check
  Charset charset_ = Charset::kShiftJis;
  bool declared_ = false;
  bool checked_ = false;
};

#endif  // FAVLINK_SUPPORT_CHARSET_H_
