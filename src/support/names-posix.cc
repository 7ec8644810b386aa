#include <dirent.h>
#include <iconv.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "support/names.h"
#include "support/sjis.h"

FolderResult make_folder(const char* path) {
  if (::mkdir(path, 0777) == 0) return FolderResult::kReady;
  if (errno == ENOSPC || errno == EDQUOT) return FolderResult::kNoSpace;
  if (errno != EEXIST) return FolderResult::kFailed;
  // mkdir does not follow a link at path; lstat tells what stands there.
  struct stat st {};
  if (::lstat(path, &st) != 0) return FolderResult::kFailed;
  return S_ISDIR(st.st_mode) ? FolderResult::kReady : FolderResult::kNotFolder;
}

bool is_folder(const char* path) {
  struct stat st {};
  return ::stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool read_folder(const char* path, const std::function<void(const char*, EntryKind)>& visit) {
  DIR* dir = ::opendir(path);
  if (dir == nullptr) return false;
  std::string full = path;
  full.push_back('/');
  const std::size_t base = full.size();
  // One walk at a time: readdir's own buffer is enough.
  // cppcheck-suppress readdirCalled
  while (const dirent* e = ::readdir(dir)) {
    const char* n = e->d_name;
    if (n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0'))) continue;
    EntryKind kind = e->d_type == DT_DIR   ? EntryKind::kFolder
                     : e->d_type == DT_REG ? EntryKind::kFile
                                           : EntryKind::kOther;
    if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
      // A link counts only as the file it leads to (a dangling one as a file
      // that cannot be read); a folder is never entered through one.
      full.resize(base);
      full += n;
      struct stat st {};
      const bool folder =
          e->d_type == DT_UNKNOWN && ::lstat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
      kind = folder                                                  ? EntryKind::kFolder
             : ::stat(full.c_str(), &st) != 0 || S_ISREG(st.st_mode) ? EntryKind::kFile
                                                                     : EntryKind::kOther;
    }
    visit(n, kind);
  }
  ::closedir(dir);
  return true;
}

void cp932_to_utf8(const char* s, std::string* out) {
  // CP932 is stateless: a character that does not convert leaves nothing
  // behind in the descriptor.
  static iconv_t cd = ::iconv_open("UTF-8", "CP932");
  static const bool usable = reinterpret_cast<std::intptr_t>(cd) != -1;
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  while (*p != '\0') {
    // A character: ASCII alone, a lead byte with a second byte from 0x40 up,
    // or any other single byte (half-width katakana among them).
    const std::size_t n = *p < 0x80 ? 1 : (sjis_lead(p[0]) && p[1] >= 0x40) ? 2 : 1;
    char utf8[8];
    char* o = utf8;
    std::size_t out_left = sizeof utf8;
    char* in = const_cast<char*>(reinterpret_cast<const char*>(p));
    std::size_t in_left = n;
    if (*p >= 0x80 && usable &&
        ::iconv(cd, &in, &in_left, &o, &out_left) != static_cast<std::size_t>(-1)) {
      out->append(utf8, static_cast<std::size_t>(o - utf8));
    } else {
      out->append(reinterpret_cast<const char*>(p), n);
    }
    p += n;
  }
}

void use_utf8_paths() {}

void utf8_arguments(int /*argc*/, char** /*argv*/) {}
