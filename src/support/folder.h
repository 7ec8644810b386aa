// Folders held open: -x makes its files and folders relative to them, and
// the page walk of -x reads them, never by a path that another process could
// change meanwhile. One implementation per platform, folder-posix.cc /
// folder-win32.cc.
#ifndef FAVLINK_SUPPORT_FOLDER_H_
#define FAVLINK_SUPPORT_FOLDER_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

/// What a folder is held for, and so every folder opened through it: kMake,
/// to make files and folders in it (POSIX: O_PATH where there is one, which
/// needs no read permission, only search); kRead, to list it and read its
/// files (POSIX: read permission, as opendir needs it).
enum class FolderUse { kMake, kRead };

/// A folder the run holds open. Files and folders below it are made or
/// opened relative to it, never by a path, so a rename of it or a link put
/// where it stood after it was opened never redirects them: they land in, or
/// are read from, this folder wherever it now is. POSIX: a descriptor.
/// Windows: a handle that shares no delete, so that neither it nor any
/// folder above it can be renamed, removed or replaced while it is held,
/// and the \\?\ path it has, which stays right for as long. Closed when the
/// owner goes; moved, never copied.
class Folder {
 public:
  static constexpr std::intptr_t kNone = -1;

  Folder() = default;
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  Folder(Folder&& o) noexcept
      : handle(o.handle), volume(o.volume), index(o.index), use(o.use), path(std::move(o.path)) {
    o.handle = kNone;
  }
  Folder& operator=(Folder&& o) noexcept {
    std::swap(handle, o.handle);
    volume = o.volume;
    index = o.index;
    use = o.use;
    path.swap(o.path);
    return *this;
  }
  ~Folder();

  bool is_open() const { return handle != kNone; }

  // For the platform files: the descriptor or HANDLE, and which folder it is,
  // the same for every handle of one folder: device and inode (POSIX), volume
  // serial number and file index (Windows).
  std::intptr_t handle = kNone;
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  FolderUse use = FolderUse::kRead;
  // Windows only: the \\?\ path of the folder, ending in its separator
  // ("\\?\C:\x\", "\\?\C:\"); the name of an entry is appended to it.
  std::wstring path;
};

enum class FolderResult { kReady, kNotFolder, kFailed, kNoSpace };

/// Opens the folder path for use, following a link there: the user named it.
/// kNotFolder when path is anything else or nothing (a FIFO is not waited
/// for), kFailed for a folder that cannot be opened; *out then stays closed
/// (for kMake everything made below it fails as a path that cannot be
/// written would).
FolderResult open_folder(const char* path, FolderUse use, Folder* out);

/// Opens the subfolder name (one path component) of parent for the parent's
/// use, without following a link or junction. kNotFolder when name is no
/// folder of its own (a file, or a link swapped in since the parent was
/// read, say); kFailed when it cannot be opened, also for want of
/// descriptors.
FolderResult open_subfolder(const Folder& parent, const char* name, Folder* out);

/// Makes the folder name in parent, or takes the folder already there, and
/// holds it open in *out, as open_subfolder opens it. Anything else standing
/// at name (a file, a symbolic link or junction, dangling or not) gives
/// kNotFolder and is not followed or changed; a folder that cannot be made
/// or opened gives kFailed, or kNoSpace when the disk (or the user's quota)
/// is full.
FolderResult make_folder(const Folder& parent, const char* name, Folder* out);

/// True where what lies below a Folder is reached by its path (Windows): a
/// walk then holds every folder above the one it reads open too, so that
/// none of them can be renamed or replaced meanwhile. False where each handle
/// stands alone (POSIX), and one whose subfolders have all been opened can go.
bool walk_holds_parents();

/// How many folders a run holds open at most (FolderChain): POSIX 32, so
/// that a whole run fits a hard limit of 64 descriptors with room to spare
/// (the three standard streams, the bookmark file or the listing's duplicate,
/// one file written or read, a folder being opened beside the held ones, and
/// what the C library opens for itself). Windows: no limit, as handles have
/// none that a tree could reach, and each held handle keeps the folders above
/// it from being renamed, which the \\?\ paths below it rely on.
std::size_t held_folder_limit();

/// What a folder entry is, for a walk that must not loop: a file (or a link
/// to one), a folder of its own (never a link or junction), or neither.
enum class EntryKind { kFile, kFolder, kOther };

/// Calls visit with the name and kind of every entry of f (held for kRead)
/// but "." and "..", in the order the system gives them, reading the folder
/// once. A link is looked at once, as what it leads to. False when the
/// folder cannot be read, also when a read fails after some entries were
/// visited.
bool read_folder(const Folder& f, const std::function<void(const char*, EntryKind)>& visit);

#endif  // FAVLINK_SUPPORT_FOLDER_H_
