// The program: usage check, option scan, then exactly one of the two modes.
#ifndef FAVLINK_APP_FAVLINK_H_
#define FAVLINK_APP_FAVLINK_H_

/// Size of the answer line of the -a question.
inline constexpr int kAnswerArea = 256;

/// Runs favlink on argv (program name first; the strings are worked on in
/// place) and returns the exit status; the refusals exit from inside.
int favlink_main(int argc, char** argv);

/// True when an -n name prefix holds a character of ":<>*?|\".\\/". index2
/// steps over double-byte characters, so ソ (0x83 0x5C) and ポ (0x83 0x7C)
/// pass; a byte below 0x40 is never the second byte of a Shift_JIS
/// character, so such a member counts even behind a stray lead byte.
///   "my-" -> false;  "a.b" -> true;  "\x9F/x" -> true;  "\x83\x5C" -> false
bool illegal_name(const char* value);

/// The decimal conversion of -f and -i: optional white space, an optional
/// sign, digits; no digits give 0; text after them is ignored. Values beyond
/// 32 bits saturate at -2147483648 / 2147483647.
///   "  -12x" -> -12;  "x" -> 0;  "99999999999" -> 2147483647;  "-99999999999" -> -2147483648
int to_int(const char* s);

#endif  // FAVLINK_APP_FAVLINK_H_
