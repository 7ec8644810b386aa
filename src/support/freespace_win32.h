// Test seam of the Windows free-space query.
#ifndef FAVLINK_SUPPORT_FREESPACE_WIN32_H_
#define FAVLINK_SUPPORT_FREESPACE_WIN32_H_

#include <windows.h>

/// The GetProcAddress that query_free_bytes uses to find the extended query.
using FreeSpaceLookup = FARPROC(WINAPI*)(HMODULE, LPCSTR);

/// Replaces the lookup (null restores the real one) and returns the old one,
/// so that a test can make the extended query look missing.
FreeSpaceLookup set_free_space_lookup(FreeSpaceLookup lookup);

#endif  // FAVLINK_SUPPORT_FREESPACE_WIN32_H_
