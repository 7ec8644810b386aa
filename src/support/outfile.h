// The life of an output file: its exclusive create (by path, or by name in a
// held folder), the time set on it once written, its removal when it could
// not be written whole, and whether a failure was for want of space. One
// implementation per platform, outfile-posix.cc / outfile-win32.cc.
#ifndef FAVLINK_SUPPORT_OUTFILE_H_
#define FAVLINK_SUPPORT_OUTFILE_H_

#include <cstdio>

class Folder;

enum class CreateResult { kCreated, kExists, kFailed, kNoSpace };

/// Creates path for writing as a new file, and never opens one that exists:
/// an existing file, directory or symbolic link (dangling or not) gives
/// kExists and is left untouched; a disk (or quota) without room for it
/// gives kNoSpace. *out receives a write stream (text mode on Windows) on
/// kCreated.
CreateResult create_new(const char* path, std::FILE** out);

/// create_new for the file name (one path component) in a folder the run
/// holds: made there, wherever the folder now is, never through a link.
CreateResult create_new(const Folder& folder, const char* name, std::FILE** out);

/// Removes the file name of folder, which the run has just created; false
/// when it cannot.
bool remove_new(const Folder& folder, const char* name);

/// Writes out what fp holds, then sets the times of its file to seconds since
/// 1970 on the open file itself (POSIX: modification and access; Windows:
/// creation, last write and last access); a time before 1970 is negative.
/// False when the bytes could not be written; a time the system refuses, or
/// cannot hold (Windows: before 1601), leaves the file the time it has.
bool set_file_time(std::FILE* fp, long long seconds);

/// True when the last create, write or close that failed did so for want of
/// space: the disk or the user's quota is full, or no file can be added
/// (POSIX ENOSPC, EDQUOT; Windows also ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL).
bool failed_for_space();

#endif  // FAVLINK_SUPPORT_OUTFILE_H_
