#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "support/eintr-posix.h"
#include "support/folder.h"

namespace {

// The flags of a folder's open. A folder held to make things in it needs no
// read permission, only search: O_PATH, where there is one.
int open_flags(FolderUse use) {
#if defined(O_PATH)
  if (use == FolderUse::kMake) return O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
  (void)use;
#endif
  return O_RDONLY | O_DIRECTORY | O_CLOEXEC;
}

// Out of descriptors below the hard limit (a soft limit lower than the
// folders held and the files open need), the soft limit is raised to the
// hard one, once. True when it was raised now.
bool raise_descriptor_limit() {
  static bool raised = false;
  rlimit lim{};
  if (raised || ::getrlimit(RLIMIT_NOFILE, &lim) != 0 || lim.rlim_cur >= lim.rlim_max) {
    return false;
  }
  raised = true;
  lim.rlim_cur = lim.rlim_max;
  return ::setrlimit(RLIMIT_NOFILE, &lim) == 0;
}

// The descriptor open() gives, tried again once the limit is raised when
// the run is out of them: every folder and listing descriptor comes here.
template <class Open>
int with_room(Open open) {
  int fd = retry_eintr(open);
  if (fd < 0 && errno == EMFILE && raise_descriptor_limit()) fd = retry_eintr(open);
  return fd;
}

// Opens the folder name relative to at (AT_FDCWD: by path) into *out. False
// when it cannot be opened, errno telling why.
bool hold(int at, const char* name, int flags, FolderUse use, Folder* out) {
  const int fd = with_room([&] { return ::openat(at, name, flags); });
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
  out->use = use;
  return true;
}

}  // namespace

Folder::~Folder() {
  if (handle != kNone) ::close(static_cast<int>(handle));
}

FolderResult open_folder(const char* path, FolderUse use, Folder* out) {
  // O_DIRECTORY fails at once on a FIFO or device: nothing is waited for.
  if (hold(AT_FDCWD, path, open_flags(use), use, out)) return FolderResult::kReady;
  // A folder without read permission is a folder all the same.
  struct stat st {};
  return ::stat(path, &st) == 0 && S_ISDIR(st.st_mode) ? FolderResult::kFailed
                                                       : FolderResult::kNotFolder;
}

FolderResult open_subfolder(const Folder& parent, const char* name, Folder* out) {
  // O_NOFOLLOW: a link that took the folder's place since the parent was
  // read, or made, fails here (ELOOP) instead of leading elsewhere.
  const int at = static_cast<int>(parent.handle);
  const int flags = open_flags(parent.use) | O_NOFOLLOW;
  if (hold(at, name, flags, parent.use, out)) return FolderResult::kReady;
  return errno == ELOOP || errno == ENOTDIR ? FolderResult::kNotFolder : FolderResult::kFailed;
}

FolderResult make_folder(const Folder& parent, const char* name, Folder* out) {
  if (::mkdirat(static_cast<int>(parent.handle), name, 0777) != 0) {
    if (errno == ENOSPC || errno == EDQUOT) return FolderResult::kNoSpace;
    if (errno != EEXIST) return FolderResult::kFailed;
  }
  // Made just now or there before: either way opened without following a
  // link, so a link put in its place meanwhile is refused, not entered.
  return open_subfolder(parent, name, out);
}

bool walk_holds_parents() { return false; }

std::size_t held_folder_limit() { return 32; }

namespace {

// The kind of the entry e of the folder at: a link counts only as the file
// it leads to (a dangling one as a file that cannot be read); a folder is
// never entered through one. A link is looked at once, following it; an
// entry of a file system that gives no types first as itself.
EntryKind kind_of(int at, const dirent& e) {
  if (e.d_type != DT_LNK && e.d_type != DT_UNKNOWN) {
    return e.d_type == DT_DIR   ? EntryKind::kFolder
           : e.d_type == DT_REG ? EntryKind::kFile
                                : EntryKind::kOther;
  }
  struct stat st {};
  bool link = e.d_type == DT_LNK;
  int got = link ? -1 : ::fstatat(at, e.d_name, &st, AT_SYMLINK_NOFOLLOW);
  if (got == 0 && S_ISLNK(st.st_mode)) link = true;
  if (link) got = ::fstatat(at, e.d_name, &st, 0);
  if (got != 0) st.st_mode = S_IFREG;
  return S_ISREG(st.st_mode)            ? EntryKind::kFile
         : S_ISDIR(st.st_mode) && !link ? EntryKind::kFolder
                                        : EntryKind::kOther;
}

}  // namespace

bool read_folder(const Folder& f, const std::function<void(const char*, EntryKind)>& visit) {
  // The stream takes a descriptor of its own and closes it: f stays open for
  // the files and subfolders opened through it.
  const int at = static_cast<int>(f.handle);
  const int fd = with_room([&] { return ::fcntl(at, F_DUPFD_CLOEXEC, 0); });
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
    visit(n, kind_of(at, *e));
    errno = 0;
  }
  const bool ok = errno == 0;
  ::closedir(dir);
  return ok;
}
