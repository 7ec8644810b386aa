// Test seam of the Windows free-space query: the two kernel32 entry points
// that decide which query runs and what it answers.
#ifndef FAVLINK_SUPPORT_FREESPACE_WIN32_H_
#define FAVLINK_SUPPORT_FREESPACE_WIN32_H_

#include <windows.h>

/// How query_free_bytes finds the extended query: GetProcAddress.
using FreeSpaceLookup = FARPROC(WINAPI*)(HMODULE, LPCSTR);

/// The query used when the extended one is missing: GetDiskFreeSpaceA.
using FreeSpaceFallback = BOOL(WINAPI*)(LPCSTR, LPDWORD, LPDWORD, LPDWORD, LPDWORD);

/// Replaces the lookup (null restores GetProcAddress) and returns the one
/// before, so that a test can make the extended query look missing or hand
/// in a fake of it.
FreeSpaceLookup set_free_space_lookup(FreeSpaceLookup lookup);

/// Replaces the fallback query (null restores GetDiskFreeSpaceA) and returns
/// the one before.
FreeSpaceFallback set_free_space_fallback(FreeSpaceFallback fallback);

#endif  // FAVLINK_SUPPORT_FREESPACE_WIN32_H_
