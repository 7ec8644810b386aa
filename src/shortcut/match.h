// Prefix tests of the HTML scanners against literal tags.
#ifndef FAVLINK_SHORTCUT_MATCH_H_
#define FAVLINK_SHORTCUT_MATCH_H_

#include <cstddef>

/// Byte-wise prefix test against a literal, inlined; stops at the first
/// difference, so it never reads past p's terminator.
template <std::size_t N>
bool has(const char* p, const char (&lit)[N]) {
  for (std::size_t i = 0; i + 1 < N; ++i) {
    if (p[i] != lit[i]) return false;
  }
  return true;
}

/// The tag in all upper case or all lower case, as the scanners take it.
template <std::size_t N>
bool starts(const char* p, const char (&upper)[N], const char (&lower)[N]) {
  return has(p, upper) || has(p, lower);
}

#endif  // FAVLINK_SHORTCUT_MATCH_H_
