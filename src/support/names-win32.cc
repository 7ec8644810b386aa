#include <windows.h>

#include <cstdint>

#include "support/names.h"
#include "support/sjis.h"
#include "support/wide-win32.h"

namespace {

// The C runtime's own split of the wide command line: the same rules that
// gave the ANSI argv, so the two agree argument for argument.
struct StartupInfo {
  int newmode;  // cppcheck-suppress unusedStructMember ; read by the runtime
};
extern "C" int __wgetmainargs(int* argc, wchar_t*** argv, wchar_t*** env, int expand,
                              StartupInfo* info);

}  // namespace

namespace {

// The path of the folder last asked for, while its handle is open. A held
// folder, and every folder above it, cannot be renamed: the path stays right.
std::intptr_t g_path_of = Folder::kNone;
std::wstring g_path;

// Holds the folder at the wide path w in *out: a handle with the right to
// list it (an open for attributes alone would take no part in sharing)
// that shares reading and writing but not deletion, so nobody can rename,
// remove or replace the folder while it is held. With no_link, a junction or
// symbolic link there is opened as itself and refused. kNotFolder when
// something else stands there.
FolderResult hold(const std::wstring& w, bool no_link, Folder* out) {
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
  return FolderResult::kReady;
}

}  // namespace

std::wstring held_path(const Folder& folder, const char* name) {
  if (folder.handle != g_path_of) {
    g_path_of = Folder::kNone;
    HANDLE h = reinterpret_cast<HANDLE>(folder.handle);
    std::wstring w(MAX_PATH, L'\0');
    DWORD n = GetFinalPathNameByHandleW(h, w.data(), static_cast<DWORD>(w.size()), 0);
    if (n >= w.size()) {  // too small: n is the size needed
      w.resize(n);
      n = GetFinalPathNameByHandleW(h, w.data(), static_cast<DWORD>(w.size()), 0);
    }
    if (n == 0 || n >= w.size()) return std::wstring();
    w.resize(n);
    // A drive's root ends in its separator already: "\\?\C:\".
    if (w.back() != L'\\') w.push_back(L'\\');
    g_path = std::move(w);
    g_path_of = folder.handle;
  }
  return g_path + widen(name);
}

Folder::~Folder() {
  if (handle == kNone) return;
  if (handle == g_path_of) g_path_of = kNone;
  CloseHandle(reinterpret_cast<HANDLE>(handle));
}

bool open_folder(const char* path, Folder* out) {
  return hold(widen(path[0] == '\0' ? "." : path), false, out) == FolderResult::kReady;
}

FolderResult make_folder(const Folder& parent, const char* name, Folder* out) {
  if (!parent.is_open()) return FolderResult::kFailed;
  const std::wstring w = held_path(parent, name);
  if (w.empty()) return FolderResult::kFailed;
  if (!CreateDirectoryW(w.c_str(), nullptr)) {
    const DWORD error = GetLastError();
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) return FolderResult::kNoSpace;
    if (error != ERROR_ALREADY_EXISTS) return FolderResult::kFailed;
  }
  return hold(w, true, out);
}

WalkFolder::~WalkFolder() {
  if (handle != kNone) CloseHandle(reinterpret_cast<HANDLE>(handle));
}

namespace {

// Opens the folder at the wide path w for listing, sharing reading and
// writing but not deletion: while the handle is held, neither the folder
// nor one above it can be renamed, removed or replaced by a junction. With
// own, a reparse point (junction, symbolic link) is opened as itself and
// refused; without it, followed (the walk's argument, named by the user).
HANDLE open_listing(const std::wstring& w, bool own) {
  const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (own ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
  HANDLE h =
      CreateFileW(w.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, flags, nullptr);
  if (h == INVALID_HANDLE_VALUE) return h;
  BY_HANDLE_FILE_INFORMATION info;
  const DWORD refused = own ? FILE_ATTRIBUTE_REPARSE_POINT : 0;
  if (!GetFileInformationByHandle(h, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
      (info.dwFileAttributes & refused) != 0) {
    CloseHandle(h);
    return INVALID_HANDLE_VALUE;
  }
  return h;
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

}  // namespace

FolderOpen open_walk(WalkFolder* f, const char* path) {
  // Only -x walks, and -x paths are UTF-8.
  const std::wstring w = widen(path);
  const std::wstring full = long_path(w);
  HANDLE h = open_listing(full, false);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD attr = GetFileAttributesW(w.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY) != 0
               ? FolderOpen::kFailed
               : FolderOpen::kNotFolder;
  }
  // Below it the walk goes by the folder's own path, the one it has now
  // that the handle holds it, not through a junction that named it.
  constexpr DWORD kLongestPath = 32768;
  std::wstring final_path(kLongestPath, L'\0');
  const DWORD n =
      GetFinalPathNameByHandleW(h, final_path.data(), kLongestPath, FILE_NAME_NORMALIZED);
  f->handle = reinterpret_cast<std::intptr_t>(h);
  f->path = narrow(n > 0 && n < kLongestPath ? final_path.c_str() : full.c_str());
  return FolderOpen::kOpened;
}

bool open_subfolder(WalkFolder* f, const WalkFolder& parent, const char* name) {
  std::string path = parent.path;
  path.push_back('\\');
  path += name;
  HANDLE h = open_listing(widen(path.c_str()), true);
  if (h == INVALID_HANDLE_VALUE) return false;
  f->handle = reinterpret_cast<std::intptr_t>(h);
  f->path = std::move(path);
  return true;
}

bool walk_holds_parents() { return true; }

bool read_folder(const WalkFolder& f, const std::function<void(const char*, EntryKind)>& visit) {
  std::string pattern = f.path;
  pattern += "\\*";
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileExW(widen(pattern.c_str()).c_str(), FindExInfoBasic, &found,
                              FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
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

void use_utf8_paths() { set_utf8_paths(); }

void utf8_arguments(int argc, char** argv) {
  int n = 0;
  wchar_t** w = nullptr;
  wchar_t** env = nullptr;
  StartupInfo info{0};
  // No wildcard expansion, as for the ANSI arguments; should the counts
  // differ all the same, the ANSI arguments are converted instead.
  if (__wgetmainargs(&n, &w, &env, 0, &info) == 0 && w != nullptr && n == argc) {
    for (int i = 1; i < argc; ++i) argv[i] = setstr(narrow(w[i]).c_str());
    return;
  }
  for (int i = 1; i < argc; ++i) {
    const int len = MultiByteToWideChar(CP_ACP, 0, argv[i], -1, nullptr, 0);
    std::wstring wide(len > 0 ? static_cast<std::size_t>(len) : 1, L'\0');
    if (len > 0) MultiByteToWideChar(CP_ACP, 0, argv[i], -1, wide.data(), len);
    argv[i] = setstr(narrow(wide.c_str()).c_str());
  }
}
