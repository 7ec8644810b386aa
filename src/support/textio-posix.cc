#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/eintr-posix.h"
#include "support/folder.h"
#include "support/textio.h"

int text_open_fd(const char* path) {
  return retry_eintr([&] { return ::open(path, O_RDONLY | O_CLOEXEC); });
}

int text_open_regular_fd(const char* path, const Folder* folder) {
  const int at = folder != nullptr ? static_cast<int>(folder->handle) : AT_FDCWD;
  // O_NONBLOCK: a FIFO opens without waiting for a writer; O_NOCTTY: a
  // terminal does not become the program's.
  const int fd =
      retry_eintr([&] { return ::openat(at, path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC); });
  struct stat st {};
  if (fd < 0) {
    // A socket cannot be opened at all (ENXIO): it is there all the same.
    return ::fstatat(at, path, &st, 0) == 0 && !S_ISREG(st.st_mode) ? kNotRegularFd : -1;
  }
  const bool known = ::fstat(fd, &st) == 0;
  if (!known || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return known ? kNotRegularFd : -1;
  }
  // Reads of a regular file then behave as with a plain open.
  ::fcntl(fd, F_SETFL, 0);
  return fd;
}

std::ptrdiff_t text_read_fd(int fd, unsigned char* to, std::size_t size) {
  const ssize_t got = retry_eintr([&] { return ::read(fd, to, size); });
  return got >= 0 ? got : -1;
}

void text_close_fd(int fd) { ::close(fd); }

long long text_tell_fd(int fd) { return ::lseek(fd, 0, SEEK_CUR); }

bool text_seek_fd(int fd, long long pos) { return ::lseek(fd, pos, SEEK_SET) == pos; }

long long text_mtime(const TextIn& in) {
  struct stat st {};
  return ::fstat(in.fd, &st) == 0 ? static_cast<long long>(st.st_mtime) : 0;
}
