#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include "support/textio.h"
#include "support/wide-win32.h"

// The file is read in binary mode: textio.cc does what the C runtime's text
// mode would (CR LF to LF, the end at a Ctrl-Z), a block at a time.
int text_open_fd(const char* path) {
  constexpr int kFlags = _O_RDONLY | _O_BINARY;
  return utf8_paths() ? _wopen(widen(path).c_str(), kFlags) : _open(path, kFlags);
}

std::size_t text_read_fd(int fd, unsigned char* to, std::size_t size) {
  // size is at most kTextInBuffer, well inside the unsigned count.
  const int got = _read(fd, to, static_cast<unsigned>(size));
  return got > 0 ? static_cast<std::size_t>(got) : 0;
}

void text_close_fd(int fd) { _close(fd); }

// The FILETIME itself (100 ns steps since 1601, UTC): the C runtime's _fstat
// goes through local time and can be an hour off near a change of summer time.
long long text_mtime(const TextIn& in) {
  FILETIME written;
  const auto h = reinterpret_cast<HANDLE>(_get_osfhandle(in.fd));
  if (h == INVALID_HANDLE_VALUE || !GetFileTime(h, nullptr, nullptr, &written)) return 0;
  const unsigned long long steps =
      static_cast<unsigned long long>(written.dwHighDateTime) << 32 | written.dwLowDateTime;
  constexpr long long kSecondsFrom1601To1970 = 11644473600LL;
  return static_cast<long long>(steps / 10000000) - kSecondsFrom1601To1970;
}

CreateResult create_new(const char* path, std::FILE** out) {
  constexpr int kFlags = _O_WRONLY | _O_CREAT | _O_EXCL | _O_TEXT;
  const int fd = utf8_paths() ? _wopen(widen(path).c_str(), kFlags, _S_IREAD | _S_IWRITE)
                              : _open(path, kFlags, _S_IREAD | _S_IWRITE);
  if (fd < 0) return errno == EEXIST ? CreateResult::kExists : CreateResult::kFailed;
  std::FILE* fp = _fdopen(fd, "w");
  if (fp == nullptr) {
    _close(fd);
    return CreateResult::kFailed;
  }
  *out = fp;
  return CreateResult::kCreated;
}
