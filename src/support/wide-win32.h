// UTF-8 paths on Windows: the switch (and the wide command line, port.h),
// the conversions between the UTF-8 of the program's texts and the UTF-16 of
// the file calls, and the path of a name in a held folder.
#ifndef FAVLINK_SUPPORT_WIDE_WIN32_H_
#define FAVLINK_SUPPORT_WIDE_WIN32_H_

#include <string>

/// True once use_utf8_arguments (port.h) has been called: paths are UTF-8
/// and are opened by their UTF-16 names.
bool utf8_paths();

/// A FILETIME counts 100 ns steps since 1601 (UTC); favlink counts seconds
/// since 1970.
inline constexpr long long kSecondsFrom1601To1970 = 11644473600LL;

/// The UTF-16 form of the UTF-8 text s (an invalid sequence becomes U+FFFD).
std::wstring widen(const char* s);

class Folder;

/// The path of name (one path component; empty: the folder itself, ending in
/// its separator) in a folder the run holds: the \\?\ path the folder was
/// held with and name, or empty when the folder is not open. The form is
/// taken as it stands: no length limit, no '/' read as a separator, no
/// trailing dot or blank dropped (a name made by the run has none of these).
///   "a.url" in C:\x -> "\\?\C:\x\a.url";  "" -> "\\?\C:\x\"
std::wstring held_path(const Folder& folder, const char* name);

/// The UTF-8 form of the UTF-16 text w (an unpaired surrogate becomes U+FFFD).
std::string narrow(const wchar_t* w);

#endif  // FAVLINK_SUPPORT_WIDE_WIN32_H_
