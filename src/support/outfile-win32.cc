#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "support/folder.h"
#include "support/outfile.h"
#include "support/wide-win32.h"

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

// A FILETIME counts 100 ns steps from 1601 and takes no more than INT64_MAX
// of them: a time outside that has no FILETIME, and is never set.
bool set_file_time(std::FILE* fp, long long seconds) {
  if (std::fflush(fp) != 0) return false;
  constexpr long long kLastSecond = INT64_MAX / 10000000 - kSecondsFrom1601To1970;
  if (seconds < -kSecondsFrom1601To1970 || seconds > kLastSecond) return true;
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
