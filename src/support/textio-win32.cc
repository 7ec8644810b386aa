#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
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

std::size_t text_read_fd(int fd, unsigned char* to, std::size_t size) {
  // size is at most kTextInBuffer, well inside the unsigned count.
  const int got = _read(fd, to, static_cast<unsigned>(size));
  return got > 0 ? static_cast<std::size_t>(got) : 0;
}

void text_close_fd(int fd) { _close(fd); }

long long text_tell_fd(int fd) { return _lseeki64(fd, 0, SEEK_CUR); }

bool text_seek_fd(int fd, long long pos) { return _lseeki64(fd, pos, SEEK_SET) == pos; }

namespace {

// A FILETIME counts 100 ns steps since 1601 (UTC); favlink counts seconds since 1970.
constexpr long long kSecondsFrom1601To1970 = 11644473600LL;

}  // namespace

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

namespace {

// A write stream (text mode) on the descriptor fd of a file just created.
CreateResult stream_of(int fd, std::FILE** out) {
  std::FILE* fp = _fdopen(fd, "w");
  if (fp == nullptr) {
    _close(fd);
    return CreateResult::kFailed;
  }
  *out = fp;
  return CreateResult::kCreated;
}

}  // namespace

CreateResult create_new(const char* path, std::FILE** out) {
  constexpr int kFlags = _O_WRONLY | _O_CREAT | _O_EXCL | _O_TEXT;
  const int fd = utf8_paths() ? _wopen(widen(path).c_str(), kFlags, _S_IREAD | _S_IWRITE)
                              : _open(path, kFlags, _S_IREAD | _S_IWRITE);
  if (fd < 0) {
    return errno == EEXIST   ? CreateResult::kExists
           : errno == ENOSPC ? CreateResult::kNoSpace
                             : CreateResult::kFailed;
  }
  return stream_of(fd, out);
}

// As _open creates: a new file only, shared for reading and writing.
CreateResult create_new(const Folder& folder, const char* name, std::FILE** out) {
  const std::wstring w = held_path(folder, name);
  if (w.empty()) return CreateResult::kFailed;
  HANDLE h = CreateFileW(w.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS   ? CreateResult::kExists
           : error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL ? CreateResult::kNoSpace
                                                                         : CreateResult::kFailed;
  }
  const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(h), _O_WRONLY | _O_TEXT);
  if (fd < 0) {
    CloseHandle(h);
    return CreateResult::kFailed;
  }
  return stream_of(fd, out);
}

bool remove_new(const Folder& folder, const char* name) {
  const std::wstring w = held_path(folder, name);
  return !w.empty() && DeleteFileW(w.c_str());
}

bool set_file_time(std::FILE* fp, long long seconds) {
  if (std::fflush(fp) != 0) return false;
  const auto steps =
      static_cast<unsigned long long>(seconds + kSecondsFrom1601To1970) * 10000000ULL;
  const FILETIME t{static_cast<DWORD>(steps), static_cast<DWORD>(steps >> 32)};
  SetFileTime(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(fp))), &t, &t, &t);
  return true;
}

// The C runtime maps a full disk to ENOSPC when it sees one; the system's
// own code tells it where it does not.
bool failed_for_space() {
  const DWORD error = GetLastError();
  return errno == ENOSPC || error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
}
