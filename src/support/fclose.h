// The checked close of written files, and the free-space figure it checks
// (the query itself: freespace.h).
#ifndef FAVLINK_SUPPORT_FCLOSE_H_
#define FAVLINK_SUPPORT_FCLOSE_H_

#include <cstdio>

class Folder;

/// Free bytes found by the last getFreeSpace, -1.0 when it failed; 0.0
/// before the first query.
extern double FreeDiskSpace;

/// Free bytes on the volume holding path, clamped to 2147483647; -1 when the
/// query fails. Sets FreeDiskSpace.
int getFreeSpace(const char* path);

/// Closes fp: 0 when the file is complete and its volume has free space
/// left; EOF when the close failed (the file may be incomplete; no report,
/// errno tells why). After a good close, the volume must have free space
/// left: if not, or if that cannot be found out, it reports "X drive: no free
/// disk space\n" (the path's drive letter, when its second byte is ':') or
/// "no free disk space\n" and gives 1. The volume is that of path, or (-x)
/// of the folder the file was made in, path then only naming the drive. The
/// file stays on disk in every case.
int Fclose(std::FILE* fp, const char* path, const Folder* folder = nullptr);

#endif  // FAVLINK_SUPPORT_FCLOSE_H_
