#include "support/fclose.h"

#include "diag/errmsg.h"
#include "support/freespace.h"

double FreeDiskSpace = 0.0;

int getFreeSpace(const char* path) {
  FreeDiskSpace = query_free_bytes(path);
  if (FreeDiskSpace > 2147483647.0) return 2147483647;
  // -1.0 gives -1, 0.0 gives 0; fractions never occur.
  return static_cast<int>(FreeDiskSpace);
}

int Fclose(std::FILE* fp, const char* path, const Folder* folder) {
  const int rc = std::fclose(fp);
  if (rc != 0) return EOF;
  if (folder != nullptr) {
    FreeDiskSpace = query_free_bytes(*folder);
    if (FreeDiskSpace > 0.0) return 0;
  } else if (getFreeSpace(path) > 0) {
    return 0;
  }
  if (path[0] != '\0' && path[1] == ':') {
    errmsg("%c drive: no free disk space\n", path[0]);
  } else {
    errmsg("no free disk space\n");
  }
  return 1;
}
