// The checked close of written files, and the free-space figure it checks
// (the query itself: freespace.h).
#ifndef FAVLINK_SUPPORT_FCLOSE_H_
#define FAVLINK_SUPPORT_FCLOSE_H_

#include <cstdio>

/// Free bytes found by the last getFreeSpace, -1.0 when it failed; 0.0
/// before the first query.
extern double FreeDiskSpace;

/// Free bytes on the volume holding path, clamped to 2147483647; -1 when the
/// query fails. Sets FreeDiskSpace.
int getFreeSpace(const char* path);

/// Closes fp. A failed close gives its own non-zero result, with no report.
/// After a good close, the volume of path must have free space left: if not,
/// or if that cannot be found out, it reports "X drive: no free disk space\n"
/// (the path's drive letter, when its second byte is ':') or "no free disk
/// space\n" and gives -1. Otherwise 0. The file stays on disk in every case.
int Fclose(std::FILE* fp, const char* path);

#endif  // FAVLINK_SUPPORT_FCLOSE_H_
