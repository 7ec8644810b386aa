// The -n check of favlink, for the targets that make file names with a name
// prefix: only prefixes favlink accepts reach the shortcut writer.
#ifndef FAVLINK_FUZZ_NAME_PREFIX_H_
#define FAVLINK_FUZZ_NAME_PREFIX_H_

#include <cstring>

#include "support/sjis.h"

namespace fuzz {

// favlink refuses a prefix that holds any of ":<>*?|\".\\/" as a character
// (index2 steps over double-byte characters). The bytes of that set below
// 0x40 are never the second byte of a Shift_JIS character, so they refuse it
// wherever they stand, behind a stray lead byte too: "\x9F/x" must not put a
// '/' into every file name (tests/e2e/fuzz_findings.txt).
inline bool accepted_name_prefix(const char* value) {
  return index2(value, ":<>*?|\".\\/") == nullptr && std::strpbrk(value, ":<>*?\"./") == nullptr;
}

}  // namespace fuzz

#endif  // FAVLINK_FUZZ_NAME_PREFIX_H_
