// A private scratch folder for the fuzz targets that make files (favlink
// reads and writes by path). One per process, made on first use under
// $TMPDIR (or /tmp), emptied by the target on every run and removed at exit,
// so runs never see each other's files and parallel jobs never meet.
#ifndef FAVLINK_FUZZ_SCRATCH_DIR_H_
#define FAVLINK_FUZZ_SCRATCH_DIR_H_

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace fuzz {

// Names in folder, "." and ".." left out, in readdir order.
inline std::vector<std::string> list_dir(const std::string& folder) {
  std::vector<std::string> names;
  DIR* d = ::opendir(folder.c_str());
  if (d == nullptr) {
    std::perror(folder.c_str());
    std::abort();
  }
  while (const dirent* e = ::readdir(d)) {
    const std::string name = e->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(d);
  return names;
}

// Removes everything below folder (the folder itself stays). Symbolic links
// are removed, never followed.
inline void empty_dir(const std::string& folder) {
  for (const std::string& name : list_dir(folder)) {
    const std::string path = folder + "/" + name;
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
      ::chmod(path.c_str(), 0700);
      empty_dir(path);
      ::rmdir(path.c_str());
    } else {
      ::unlink(path.c_str());
    }
  }
}

class ScratchDir {
 public:
  // prefix names the target, e.g. "fuzz_scan_html".
  explicit ScratchDir(const char* prefix) {
    const char* tmp = std::getenv("TMPDIR");
    std::string tmpl = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/" + prefix +
                       ".XXXXXX";
    if (::mkdtemp(tmpl.data()) == nullptr) {
      std::perror("mkdtemp");
      std::abort();
    }
    path_ = tmpl;
    // The fuzzer leaves through exit(); a crash leaves the folder behind for
    // inspection.
    std::atexit(&ScratchDir::remove_last);
    last() = path_;
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }

 private:
  // Never destroyed: the exit handler runs after static destructors.
  static std::string& last() {
    static auto* folder = new std::string;
    return *folder;
  }
  static void remove_last() {
    if (last().empty()) return;
    empty_dir(last());
    ::rmdir(last().c_str());
  }

  std::string path_;
};

}  // namespace fuzz

#endif  // FAVLINK_FUZZ_SCRATCH_DIR_H_
