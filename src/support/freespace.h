// The free-space query behind Fclose: one per platform, statvfs on POSIX
// (freespace-posix.cc), the kernel32 query on Windows (freespace-win32.cc).
#ifndef FAVLINK_SUPPORT_FREESPACE_H_
#define FAVLINK_SUPPORT_FREESPACE_H_

/// The free bytes available to the caller on the volume of path, or -1.0.
double query_free_bytes(const char* path);

class Folder;

/// The free bytes available to the caller on the volume of a folder the run
/// holds (POSIX: fstatvfs; Windows: asked by the path the held folder has
/// now), or -1.0.
double query_free_bytes(const Folder& folder);

/// Root folder queried on Windows for path: "X:\" when the second byte of
/// path is ':', else "\". root receives at most 3 bytes and the NUL.
///   "c:\x" -> "c:\";  "C:x" -> "C:\";  "\\srv\s" -> "\";  "" -> "\"
void free_space_root(const char* path, char root[4]);

#endif  // FAVLINK_SUPPORT_FREESPACE_H_
