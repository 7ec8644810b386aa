#include "support/freespace.h"

void free_space_root(const char* path, char root[4]) {
  // Only the first three bytes count: a drive letter and colon name that
  // drive's root whatever follows ("C:x" is drive-relative, still "C:\").
  if (path[0] != '\0' && path[1] == ':') {
    root[0] = path[0];
    root[1] = ':';
    root[2] = '\\';
    root[3] = '\0';
  } else {
    root[0] = '\\';
    root[1] = '\0';
  }
}
