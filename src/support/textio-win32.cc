#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "support/folder.h"
#include "support/textio.h"
#include "support/wide-win32.h"

// The file is read in binary mode: textio.cc does what the C runtime's text
// mode would (CR LF to LF, the end at a Ctrl-Z), a block at a time.
int text_open_fd(const char* path) {
  constexpr int kFlags = _O_RDONLY | _O_BINARY;
  return utf8_paths() ? _wopen(widen(path).c_str(), kFlags) : _open(path, kFlags);
}

int text_open_regular_fd(const char* path, const Folder* folder) {
  // Only -x opens so, and -x paths are UTF-8. The same sharing as _open's;
  // opening never waits: a busy pipe fails.
  const std::wstring w = folder != nullptr ? held_path(*folder, path) : widen(path);
  HANDLE h = CreateFileW(w.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    // A folder opens only with backup semantics: it is there, but no file.
    const DWORD attr = GetFileAttributesW(w.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY) != 0 ? kNotRegularFd
                                                                                     : -1;
  }
  // A device (NUL, CON, COM1) or a pipe is no disk file.
  if (GetFileType(h) != FILE_TYPE_DISK) {
    CloseHandle(h);
    return kNotRegularFd;
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDONLY | _O_BINARY);
  if (fd < 0) CloseHandle(h);
  return fd;
}

std::ptrdiff_t text_read_fd(int fd, unsigned char* to, std::size_t size) {
  // size is at most kTextInBuffer, well inside the unsigned count.
  const int got = _read(fd, to, static_cast<unsigned>(size));
  return got >= 0 ? got : -1;
}

void text_close_fd(int fd) { _close(fd); }

long long text_tell_fd(int fd) { return _lseeki64(fd, 0, SEEK_CUR); }

bool text_seek_fd(int fd, long long pos) { return _lseeki64(fd, pos, SEEK_SET) == pos; }

// The FILETIME itself (100 ns steps since 1601, UTC): the C runtime's _fstat
// goes through local time and can be an hour off near a change of summer time.
long long text_mtime(const TextIn& in) {
  FILETIME written;
  const auto h = reinterpret_cast<HANDLE>(_get_osfhandle(in.fd));
  if (h == INVALID_HANDLE_VALUE || !GetFileTime(h, nullptr, nullptr, &written)) return 0;
  const unsigned long long steps =
      static_cast<unsigned long long>(written.dwHighDateTime) << 32 | written.dwLowDateTime;
  return static_cast<long long>(steps / 10000000) - kSecondsFrom1601To1970;
}
