#include <windows.h>

#include <cstdint>

#include "support/folder.h"
#include "support/wide-win32.h"

namespace {

// Holds the folder at the wide \\?\ path w in *out: a handle with the right
// to list it (an open for attributes alone would take no part in sharing)
// that shares reading and writing but not deletion, so nobody can rename,
// remove or replace the folder, or one above it, while it is held. With
// no_link, a junction or symbolic link there is opened as itself and
// refused; without it, followed. kNotFolder when something else stands
// there, kFailed when nothing can be opened. The path stored is w.
FolderResult hold(const std::wstring& w, bool no_link, FolderUse use, Folder* out) {
  const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (no_link ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
  HANDLE h =
      CreateFileW(w.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, flags, nullptr);
  if (h == INVALID_HANDLE_VALUE) return FolderResult::kFailed;
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(h, &info)) {
    CloseHandle(h);
    return FolderResult::kFailed;
  }
  const DWORD attr = info.dwFileAttributes;
  if ((attr & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
      (no_link && (attr & FILE_ATTRIBUTE_REPARSE_POINT) != 0)) {
    CloseHandle(h);
    return FolderResult::kNotFolder;
  }
  *out = Folder();
  out->handle = reinterpret_cast<std::intptr_t>(h);
  out->volume = info.dwVolumeSerialNumber;
  out->index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  out->use = use;
  out->path = w;
  // A drive's root ends in its separator already: "\\?\C:\".
  if (out->path.empty() || out->path.back() != L'\\') out->path.push_back(L'\\');
  return FolderResult::kReady;
}

// The \\?\ form of the full path of w, which takes no length limit and no
// special names:  "Fav" -> "\\?\C:\x\Fav",  "\\srv\s\Fav" -> "\\?\UNC\srv\s\Fav"
std::wstring long_path(const std::wstring& w) {
  const DWORD n = GetFullPathNameW(w.c_str(), 0, nullptr, nullptr);
  if (n == 0) return w;
  std::wstring full(n, L'\0');
  const DWORD got = GetFullPathNameW(w.c_str(), n, full.data(), nullptr);
  full.resize(got < n ? got : 0);
  if (full.empty()) return w;
  if (full.compare(0, 4, L"\\\\?\\") == 0 || full.compare(0, 4, L"\\\\.\\") == 0) return full;
  if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC" + full.substr(1);
  return L"\\\\?\\" + full;
}

// The \\?\ path the folder of h has now, or empty when the system cannot
// tell it.
std::wstring final_path(HANDLE h) {
  std::wstring w(MAX_PATH, L'\0');
  DWORD n =
      GetFinalPathNameByHandleW(h, w.data(), static_cast<DWORD>(w.size()), FILE_NAME_NORMALIZED);
  if (n >= w.size()) {  // too small: n is the size needed
    w.resize(n);
    n = GetFinalPathNameByHandleW(h, w.data(), static_cast<DWORD>(w.size()), FILE_NAME_NORMALIZED);
  }
  if (n == 0 || n >= w.size()) return std::wstring();
  w.resize(n);
  return w;
}

}  // namespace

std::wstring held_path(const Folder& folder, const char* name) {
  if (!folder.is_open() || folder.path.empty()) return std::wstring();
  return folder.path + widen(name);
}

Folder::~Folder() {
  if (handle != kNone) CloseHandle(reinterpret_cast<HANDLE>(handle));
}

FolderResult open_folder(const char* path, FolderUse use, Folder* out) {
  // Only -x holds folders, and -x paths are UTF-8.
  const std::wstring w = widen(path);
  const std::wstring full = long_path(w);
  const FolderResult held = hold(full, false, use, out);
  if (held == FolderResult::kFailed) {
    const DWORD attr = GetFileAttributesW(w.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY) != 0
               ? FolderResult::kFailed
               : FolderResult::kNotFolder;
  }
  if (held != FolderResult::kReady) return held;
  // Below it everything goes by the folder's own path, the one it has now
  // that the handle holds it, not through a junction that named it.
  const std::wstring now = final_path(reinterpret_cast<HANDLE>(out->handle));
  if (!now.empty()) {
    out->path = now;
    if (out->path.back() != L'\\') out->path.push_back(L'\\');
  }
  return FolderResult::kReady;
}

FolderResult open_subfolder(const Folder& parent, const char* name, Folder* out) {
  const std::wstring w = held_path(parent, name);
  return w.empty() ? FolderResult::kFailed : hold(w, true, parent.use, out);
}

FolderResult make_folder(const Folder& parent, const char* name, Folder* out) {
  const std::wstring w = held_path(parent, name);
  if (w.empty()) return FolderResult::kFailed;
  if (!CreateDirectoryW(w.c_str(), nullptr)) {
    const DWORD error = GetLastError();
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) return FolderResult::kNoSpace;
    if (error != ERROR_ALREADY_EXISTS) return FolderResult::kFailed;
  }
  return open_subfolder(parent, name, out);
}

bool walk_holds_parents() { return true; }

std::size_t held_folder_limit() { return SIZE_MAX; }

bool read_folder(const Folder& f, const std::function<void(const char*, EntryKind)>& visit) {
  const std::wstring pattern = f.path + L"*";
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                              nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    const wchar_t* n = found.cFileName;
    if (n[0] == L'.' && (n[1] == L'\0' || (n[1] == L'.' && n[2] == L'\0'))) continue;
    const DWORD attr = found.dwFileAttributes;
    // A junction or a link to a folder is a reparse point: never entered.
    const EntryKind kind = (attr & FILE_ATTRIBUTE_DIRECTORY) == 0       ? EntryKind::kFile
                           : (attr & FILE_ATTRIBUTE_REPARSE_POINT) == 0 ? EntryKind::kFolder
                                                                        : EntryKind::kOther;
    visit(narrow(n).c_str(), kind);
  } while (FindNextFileW(h, &found));
  // The listing ends with ERROR_NO_MORE_FILES; any other error is no end.
  const bool ok = GetLastError() == ERROR_NO_MORE_FILES;
  FindClose(h);
  return ok;
}
