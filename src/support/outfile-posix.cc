#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>

#include "support/eintr-posix.h"
#include "support/folder.h"
#include "support/outfile.h"

namespace {

// The exclusive create of name relative to dir (AT_FDCWD: a path). O_EXCL
// also refuses a symbolic link, dangling or not, without following it.
CreateResult create_at(int dir, const char* name, std::FILE** out) {
  const int fd = retry_eintr([&] {
    return ::openat(dir, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  });
  if (fd < 0) {
    return errno == EEXIST      ? CreateResult::kExists
           : failed_for_space() ? CreateResult::kNoSpace
                                : CreateResult::kFailed;
  }
  std::FILE* fp = ::fdopen(fd, "w");
  if (fp == nullptr) {
    ::close(fd);
    return CreateResult::kFailed;
  }
  // One file is open at a time: a buffer of our own spares the stream the
  // fstat it would make to size one, and holds a whole .url file, so the
  // close writes it with one call.
  static char buffer[8192];
  std::setvbuf(fp, buffer, _IOFBF, sizeof buffer);
  *out = fp;
  return CreateResult::kCreated;
}

}  // namespace

CreateResult create_new(const char* path, std::FILE** out) {
  return create_at(AT_FDCWD, path, out);
}

CreateResult create_new(const Folder& folder, const char* name, std::FILE** out) {
  return create_at(static_cast<int>(folder.handle), name, out);
}

bool remove_new(const Folder& folder, const char* name) {
  return ::unlinkat(static_cast<int>(folder.handle), name, 0) == 0;
}

bool set_file_time(std::FILE* fp, long long seconds) {
  if (std::fflush(fp) != 0) return false;
  const struct timespec t[2] = {{static_cast<time_t>(seconds), 0},
                                {static_cast<time_t>(seconds), 0}};
  ::futimens(::fileno(fp), t);
  return true;
}

bool failed_for_space() { return errno == ENOSPC || errno == EDQUOT; }
