#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "support/names.h"

namespace {

// Folders are held only to make things relative to them and to ask their
// volume: O_PATH needs no read permission on the folder, only search.
#if defined(O_PATH)
constexpr int kHoldFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
constexpr int kHoldFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

// Fills out from a descriptor just opened (-1: nothing opened, errno set).
bool hold(int fd, Folder* out) {
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    return false;
  }
  *out = Folder();
  out->handle = fd;
  out->volume = static_cast<std::uint64_t>(st.st_dev);
  out->index = static_cast<std::uint64_t>(st.st_ino);
  return true;
}

int open_retrying(int dir, const char* name, int flags) {
  int fd;
  do {
    fd = ::openat(dir, name, flags);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

}  // namespace

Folder::~Folder() {
  if (handle != kNone) ::close(static_cast<int>(handle));
}

bool open_folder(const char* path, Folder* out) {
  return hold(open_retrying(AT_FDCWD, path[0] == '\0' ? "." : path, kHoldFlags), out);
}

FolderResult make_folder(const Folder& parent, const char* name, Folder* out) {
  const int dir = static_cast<int>(parent.handle);
  if (::mkdirat(dir, name, 0777) != 0) {
    if (errno == ENOSPC || errno == EDQUOT) return FolderResult::kNoSpace;
    if (errno != EEXIST) return FolderResult::kFailed;
  }
  // Made just now or there before: either way opened without following a
  // link, so a link put in its place meanwhile is refused, not entered.
  if (hold(open_retrying(dir, name, kHoldFlags | O_NOFOLLOW), out)) return FolderResult::kReady;
  return errno == ELOOP || errno == ENOTDIR ? FolderResult::kNotFolder : FolderResult::kFailed;
}

WalkFolder::~WalkFolder() {
  if (handle != kNone) ::close(static_cast<int>(handle));
}

namespace {

// Descriptor of a folder opened relative to at (AT_FDCWD: by path), or -1.
int open_dir(int at, const char* name, int flags) {
  int fd;
  do {
    fd = ::openat(at, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC | flags);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

}  // namespace

FolderOpen open_walk(WalkFolder* f, const char* path) {
  // O_DIRECTORY fails at once on a FIFO or device: nothing is waited for.
  const int fd = open_dir(AT_FDCWD, path, 0);
  if (fd >= 0) {
    f->handle = fd;
    return FolderOpen::kOpened;
  }
  // A folder without read permission is a folder all the same.
  struct stat st {};
  return ::stat(path, &st) == 0 && S_ISDIR(st.st_mode) ? FolderOpen::kFailed
                                                       : FolderOpen::kNotFolder;
}

bool open_subfolder(WalkFolder* f, const WalkFolder& parent, const char* name) {
  // O_NOFOLLOW: a link that took the folder's place since the parent was
  // read fails here (ELOOP) instead of leading elsewhere.
  int fd = open_dir(static_cast<int>(parent.handle), name, O_NOFOLLOW);
  // A walk holds a descriptor per level of a deep tree: out of them, the
  // soft limit is raised to the hard one, once, and the open tried again.
  static bool raised = false;
  rlimit lim{};
  if (fd < 0 && errno == EMFILE && !raised && ::getrlimit(RLIMIT_NOFILE, &lim) == 0 &&
      lim.rlim_cur < lim.rlim_max) {
    raised = true;
    lim.rlim_cur = lim.rlim_max;
    if (::setrlimit(RLIMIT_NOFILE, &lim) == 0) {
      fd = open_dir(static_cast<int>(parent.handle), name, O_NOFOLLOW);
    }
  }
  if (fd < 0) return false;
  f->handle = fd;
  return true;
}

bool walk_holds_parents() { return false; }

bool read_folder(const WalkFolder& f, const std::function<void(const char*, EntryKind)>& visit) {
  // The stream takes a descriptor of its own and closes it: f stays open for
  // the files and subfolders opened through it.
  const int at = static_cast<int>(f.handle);
  const int fd = ::fcntl(at, F_DUPFD_CLOEXEC, 0);
  if (fd < 0) return false;
  DIR* dir = ::fdopendir(fd);
  if (dir == nullptr) {
    ::close(fd);
    return false;
  }
  // readdir gives null at the end and on an error alike: errno tells them
  // apart. One walk at a time: readdir's own buffer is enough.
  errno = 0;
  // cppcheck-suppress readdirCalled
  while (const dirent* e = ::readdir(dir)) {
    const char* n = e->d_name;
    if (n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0'))) continue;
    EntryKind kind = e->d_type == DT_DIR   ? EntryKind::kFolder
                     : e->d_type == DT_REG ? EntryKind::kFile
                                           : EntryKind::kOther;
    if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
      // A link counts only as the file it leads to (a dangling one as a file
      // that cannot be read); a folder is never entered through one. A link
      // is looked at once, following it; an entry of a file system that
      // gives no types first as itself.
      struct stat st {};
      bool link = e->d_type == DT_LNK;
      int got = link ? -1 : ::fstatat(at, n, &st, AT_SYMLINK_NOFOLLOW);
      if (got == 0 && S_ISLNK(st.st_mode)) link = true;
      if (link) got = ::fstatat(at, n, &st, 0);
      if (got != 0) st.st_mode = S_IFREG;
      kind = S_ISREG(st.st_mode)            ? EntryKind::kFile
             : S_ISDIR(st.st_mode) && !link ? EntryKind::kFolder
                                            : EntryKind::kOther;
    }
    visit(n, kind);
    errno = 0;
  }
  const bool ok = errno == 0;
  ::closedir(dir);
  return ok;
}

void use_utf8_paths() {}

void utf8_arguments(int /*argc*/, char** /*argv*/) {}
