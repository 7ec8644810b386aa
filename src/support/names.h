// How -x meets the file system: folders held open and made relative to each
// other without following links, names in the platform's Unicode form, and
// (on Windows) Unicode paths and arguments. One implementation per platform,
// names-posix.cc / names-win32.cc.
#ifndef FAVLINK_SUPPORT_NAMES_H_
#define FAVLINK_SUPPORT_NAMES_H_

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

/// A folder the run holds open. Files and folders below it are made relative
/// to it, never by a path, so a rename of it or a link put where it stood
/// after it was opened never redirects them: they land in this folder,
/// wherever it now is. POSIX: a descriptor (O_PATH where there is one).
/// Windows: a handle that refuses delete sharing, so that neither it nor any
/// folder above it can be renamed, removed or replaced while it is held.
/// Closed when the owner goes; moved, never copied.
class Folder {
 public:
  static constexpr std::intptr_t kNone = -1;

  Folder() = default;
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  Folder(Folder&& o) noexcept : handle(o.handle), volume(o.volume), index(o.index) {
    o.handle = kNone;
  }
  Folder& operator=(Folder&& o) noexcept {
    std::swap(handle, o.handle);
    volume = o.volume;
    index = o.index;
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
};

/// Opens the folder path (empty: the current folder) as the top of what a
/// run makes, following a link there: the user named it. False when path is
/// no folder that can be opened; *out then stays closed, and everything made
/// below it fails as a path that cannot be written would.
bool open_folder(const char* path, Folder* out);

enum class FolderResult { kReady, kNotFolder, kFailed, kNoSpace };

/// Makes the folder name in parent, or takes the folder already there, and
/// holds it open in *out. Anything else standing at name (a file, a symbolic
/// link or junction, dangling or not) gives kNotFolder and is not followed or
/// changed; a folder that cannot be made or opened gives kFailed, or kNoSpace
/// when the disk (or the user's quota) is full. name is one path component.
FolderResult make_folder(const Folder& parent, const char* name, Folder* out);

/// What a folder entry is, for a walk that must not loop: a file (or a link
/// to one), a folder of its own (never a link or junction), or neither.
enum class EntryKind { kFile, kFolder, kOther };

/// A folder held open by a walk: its entries are read, and its files and
/// subfolders opened, through it, never by a path that another process could
/// change meanwhile. POSIX: a descriptor. Windows: a handle that shares no
/// delete, so that neither the folder nor one above it up to the walk's
/// argument can be renamed or replaced while it is held, and its \\?\ path.
/// Closed when it goes out of scope.
struct WalkFolder {
  WalkFolder() = default;
  WalkFolder(WalkFolder&& from) noexcept : handle(from.handle), path(std::move(from.path)) {
    from.handle = kNone;
  }
  WalkFolder(const WalkFolder&) = delete;
  WalkFolder& operator=(const WalkFolder&) = delete;
  WalkFolder& operator=(WalkFolder&&) = delete;
  ~WalkFolder();

  static constexpr std::intptr_t kNone = -1;
  std::intptr_t handle = kNone;
  std::string path;  // Windows only: the UTF-8 \\?\ path it was opened by
};

enum class FolderOpen { kOpened, kNotFolder, kFailed };

/// Opens the folder path, the walk's argument, by its path (a link to a
/// folder counts: the user named it). kNotFolder when path is anything else
/// or nothing (a FIFO is not waited for), kFailed for a folder that cannot be
/// opened.
FolderOpen open_walk(WalkFolder* f, const char* path);

/// Opens the subfolder name of parent without following a link or junction.
/// False when name is no longer a folder of its own (swapped for a link
/// since the parent was read, say) or cannot be opened, also for want of
/// descriptors.
bool open_subfolder(WalkFolder* f, const WalkFolder& parent, const char* name);

/// True where what lies below a WalkFolder is reached by its path (Windows):
/// a walk then holds every folder above the one it reads open too, so that
/// none of them can be renamed or replaced meanwhile. False where each handle
/// stands alone (POSIX), and one whose subfolders have all been opened can go.
bool walk_holds_parents();

/// Calls visit with the name and kind of every entry of f but "." and "..",
/// in the order the system gives them, reading the folder once. A link is
/// looked at once, as what it leads to. False when the folder cannot be
/// read, also when a read fails after some entries were visited.
bool read_folder(const WalkFolder& f, const std::function<void(const char*, EntryKind)>& visit);

/// From here on every path the program opens, creates or tests is UTF-8
/// (Windows: opened by its UTF-16 name). POSIX paths are bytes already.
void use_utf8_paths();

/// Windows: replaces argv[1..] with the UTF-8 form of the wide command line,
/// so that names outside the ANSI code page arrive whole. The new texts live
/// to the end of the process. POSIX: nothing to do.
void utf8_arguments(int argc, char** argv);

#endif  // FAVLINK_SUPPORT_NAMES_H_
