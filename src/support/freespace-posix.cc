#include <sys/statvfs.h>

#include "support/freespace.h"

// The volume of the file itself is asked, not a drive root: POSIX has no
// drives, and the file just written names its volume exactly.
double query_free_bytes(const char* path) {
  struct statvfs st;
  if (::statvfs(path, &st) != 0) return -1.0;
  return static_cast<double>(st.f_bavail) * static_cast<double>(st.f_frsize);
}
