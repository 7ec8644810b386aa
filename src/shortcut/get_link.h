// Taking one link apart: where its start tag ends, its URL, its caption, the
// time it was added. Byte routines with no Shift_JIS stepping: the bytes they
// look for ('<', '>', '"', '\'', and a blank before an attribute name) never
// occur as the second byte of a Shift_JIS character.
#ifndef FAVLINK_SHORTCUT_GET_LINK_H_
#define FAVLINK_SHORTCUT_GET_LINK_H_

#include <cstddef>

/// Longest input get_href and get_caption accept, and the text room of their
/// result areas (each has one more byte for the NUL).
inline constexpr int kLinkText = 1024;

/// q is outside quotes in a start tag, or at the opening double quote of an
/// href value. Gives the first '>' from q that lies outside double quotes
/// (a quote at q opens the first pair), or null.
///   tag_end("\"a>b\" title=\"x>y\">cap") -> the '>' before "cap"
char* tag_end(const char* q);

/// q is the opening double quote of an href value, cut where the start tag
/// ends. Gives the URL in a static area that the next call overwrites: the
/// text up to the closing quote, or, for a value beginning "javascript" or
/// "JAVASCRIPT", the first single-quoted argument of the first "window.open("
/// that follows (one leading "./" removed; the closing single quote in q is
/// overwritten with a NUL). On failure reports "[%s]: can not recognize URL
/// string\n" with q and gives null.
///   get_href("\"javascript:window.open ('./a.html')") -> "a.html"
char* get_href(char* q);

/// True when the href value at q (its opening double quote) is a script:
/// it begins "javascript" or "JAVASCRIPT".
///   "\"javascript:x" -> true;  "\"JavaScript:x" "\"a.html" -> false
bool script_href(const char* q);

/// get_href without a length limit or a copy: gives where the URL starts in
/// q and its length in *len (the plain form is not terminated there), or null
/// after the same report.
const char* href_text(char* q, std::size_t* len);

/// The caption between the start tag and the closing tag with tags and
/// double quotes removed, in a static area that the next call overwrites;
/// null (no report) when the text is longer than kLinkText bytes.
///   get_caption("<IMG SRC=\"x.gif\">News \"<1>\"") -> "News <1>"
char* get_caption(const char* text);

/// get_caption without a limit: writes the caption of text into out, which
/// has room for strlen(text) + 1 bytes, and gives its length.
std::size_t strip_tags(const char* text, char* out);

/// strip_tags for a text that is not a name (a description): a tag runs from
/// '<' to the first '>' outside double quotes within it, a comment from
/// "<!--" to "-->" (to the end when it is not closed), and a double quote
/// outside tags is text. Writes into out, which has room for strlen(text) + 1
/// bytes, and gives the length.
///   "He said \"hi\" <A TITLE=\"a>b\">now</A>" -> "He said \"hi\" now"
///   "a <!-- <DT> \"x> --> b" -> "a  b"
std::size_t strip_markup(const char* text, char* out);

/// The value of the first attribute name (lower case) of the start tag from
/// p (its '<') to end (where it is cut) that stands outside double quotes
/// after a blank or tab, ASCII case ignored: between its double or single
/// quotes, or, unquoted, up to a blank, tab or end. Gives where the value
/// starts and its length in *len, or null when there is no such attribute
/// or its closing quote is missing.
///   <A TAGS="a b" -> "a b";  <A x="tags=1" Tags='c'> -> "c";  <A tags=d e -> "d"
///   <A TAGS="x -> null;  <A XTAGS="x" -> null
const char* attribute_value(const char* p, const char* end, const char* name, std::size_t* len);

/// The time the start tag from p (its '<') to end (where it is cut) gives in
/// its first ADD_DATE attribute outside double quotes, ASCII case ignored: N
/// seconds since 1970, or N microseconds when N is 100000000000 or more (12
/// digits), as some services export it; a leading '-' gives a time before
/// 1970, the same rule applying to its digits, and its microseconds rounded
/// down to the second that holds them. 0 when there is none, or its value is
/// not a decimal number of at most 18 digits after the optional '-'.
///   <A ADD_DATE="1700000000" -> 1700000000;  <A add_date=1700000000123456 -> 1700000000
///   <A ADD_DATE="-5" -> -5;  <A ADD_DATE=-100000000000 -> -100000
///   <A ADD_DATE="-1700000000123456" -> -1700000001
///   <A ADD_DATE="" -> 0;  <A ADD_DATE="12x" -> 0;  <A ADD_DATE="-" -> 0;  <A ADD_DATE="+5" -> 0
long long added_time(const char* p, const char* end);

#endif  // FAVLINK_SHORTCUT_GET_LINK_H_
