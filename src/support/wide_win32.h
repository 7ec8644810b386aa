// UTF-8 paths on Windows: the switch and the conversion the file calls use.
#ifndef FAVLINK_SUPPORT_WIDE_WIN32_H_
#define FAVLINK_SUPPORT_WIDE_WIN32_H_

#include <string>

/// True once use_utf8_paths has been called: paths are UTF-8 and are opened
/// by their UTF-16 names.
bool utf8_paths();

/// The UTF-16 form of the UTF-8 text s (an invalid sequence becomes U+FFFD).
std::wstring widen(const char* s);

#endif  // FAVLINK_SUPPORT_WIDE_WIN32_H_
