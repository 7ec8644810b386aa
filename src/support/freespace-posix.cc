#include <sys/statvfs.h>

#include "support/folder.h"
#include "support/freespace.h"

namespace {

// Bytes available to the caller: unprivileged blocks times the block size;
// -1.0 when the query (rc) failed.
double available(int rc, const struct statvfs& st) {
  if (rc != 0) return -1.0;
  return static_cast<double>(st.f_bavail) * static_cast<double>(st.f_frsize);
}

}  // namespace

// The volume of the file itself is asked, not a drive root: POSIX has no
// drives, and the file just written names its volume exactly.
double query_free_bytes(const char* path) {
  struct statvfs st {};
  return available(::statvfs(path, &st), st);
}

// Asked of the descriptor, not of a path that may have gone meanwhile.
double query_free_bytes(const Folder& folder) {
  struct statvfs st {};
  return available(::fstatvfs(static_cast<int>(folder.handle), &st), st);
}
