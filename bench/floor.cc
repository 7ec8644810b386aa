// favlink_floor: only the system calls that favlink cannot avoid for the same
// job, with everything else done in advance. favlink's time over this one's is
// what its own work costs.
//
//   favlink_floor shortcut MANIFEST OUTDIR
//       per line "file name<TAB>URL" of MANIFEST (from favlink_bench_gen), with
//       all paths and file bodies built before the first call: the existence
//       check (open for reading, which fails), the exclusive create, one write
//       of the body, close, and statvfs of the path for the free space
//   favlink_floor tree MANIFEST OUTDIR
//       the same for a manifest of `favlink_bench_gen modern`, whose lines
//       without a TAB name folders: one mkdir each, where the line stands, as
//       -x makes a folder when its list opens, and whose file lines end in
//       the link's ADD_DATE: futimens on the open file, as -x sets it
//   favlink_floor linkpage FILE...
//       per file: open, read up to the end of its first "URL=" line, close;
//       then one write of the whole page (list type) on standard output. The
//       page is favlink's for names without a folder part.
//   favlink_floor walk DIR
//       favlink -x DIR: each folder read once (openat through its parent,
//       fdopendir, readdir to the end), its .url files (any case) in byte
//       order, each opened through it (openat, fstat) and read to its end (an
//       [InternetShortcut.W] section may follow the URL= line), then its
//       subfolders in byte order, depth first; then one write of the UTF-8
//       page, headed per folder by its path below DIR
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

// One read of a .url file: the files favlink reads are far smaller.
constexpr std::size_t kReadSize = 4096;

[[noreturn]] void die(const char* what, const char* arg) {
  std::fprintf(stderr, "favlink_floor: %s: %s\n", what, arg);
  std::exit(2);
}

std::string slurp(const char* path) {
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) die(std::strerror(errno), path);
  std::string s;
  char buf[1 << 16];
  ssize_t got;
  while ((got = ::read(fd, buf, sizeof buf)) > 0) s.append(buf, static_cast<std::size_t>(got));
  ::close(fd);
  return s;
}

bool write_all(int fd, const char* p, std::size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(fd, p, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += w;
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

// Both modes: with `folders`, a line without a TAB is a folder to make.
int shortcut(const char* manifest, const char* outdir, bool folders) {
  struct Job {
    std::string path;
    std::string body;  // empty: a folder
    long long time = 0;  // the file's times, set on the open file (0: none)
  };
  std::vector<Job> jobs;
  const std::string text = slurp(manifest);
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::size_t nl = rest.find('\n');
    const std::string_view line = rest.substr(0, nl);
    rest.remove_prefix(nl == std::string_view::npos ? rest.size() : nl + 1);
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) {
      if (folders && !line.empty()) jobs.push_back(Job{std::string(outdir) + "/" + std::string(line), ""});
      continue;
    }
    Job j;
    j.path.append(outdir).append("/").append(line.substr(0, tab));
    std::string_view url = line.substr(tab + 1);
    const std::size_t date = url.find('\t');  // the link's ADD_DATE, if the manifest has it
    if (date != std::string_view::npos) {
      j.time = std::strtoll(std::string(url.substr(date + 1)).c_str(), nullptr, 10);
      url = url.substr(0, date);
    }
    j.body.append("[InternetShortcut]\r\nURL=").append(url).append("\r\n");
    jobs.push_back(std::move(j));
  }

  for (const Job& j : jobs) {
    const char* path = j.path.c_str();
    if (j.body.empty()) {
      if (::mkdir(path, 0777) != 0) die(std::strerror(errno), path);
      continue;
    }
    int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
      ::close(fd);  // exists: left alone, as favlink does
      continue;
    }
    fd = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) die(std::strerror(errno), path);
    if (!write_all(fd, j.body.data(), j.body.size())) die("write failed", path);
    const struct timespec t[2] = {{static_cast<time_t>(j.time), 0}, {static_cast<time_t>(j.time), 0}};
    if (j.time != 0 && ::futimens(fd, t) != 0) die(std::strerror(errno), path);
    if (::close(fd) != 0) die("close failed", path);
    struct statvfs st;
    if (::statvfs(path, &st) != 0 || st.f_bavail == 0) die("no free space", path);
  }
  return 0;
}

// The value of the first line that starts with "URL=", up to its CR LF or LF;
// empty view when there is none.   "[X]\r\nURL=u\r\n" -> "u"
std::string_view url_line(std::string_view data, bool* complete) {
  std::size_t at = 0;
  *complete = false;
  for (;;) {
    if (data.substr(at, 4) == "URL=") {
      const std::size_t nl = data.find('\n', at);
      if (nl == std::string_view::npos) return {};
      *complete = true;
      std::size_t end = nl;
      if (end > at + 4 && data[end - 1] == '\r') --end;
      return data.substr(at + 4, end - at - 4);
    }
    const std::size_t nl = data.find('\n', at);
    if (nl == std::string_view::npos) return {};
    at = nl + 1;
  }
}

int linkpage(int argc, char** argv) {
  std::string page =
      "<HTML>\n<HEAD>\n"
      "<META http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\n"
      "<TITLE>Favorite Links</TITLE>\n</HEAD>\n<BODY>\n"
      "<CENTER><H2>Favorite Links From URL Files</H2></CENTER><HR>\n";
  bool first = true;
  std::string data;
  char buf[kReadSize];
  for (int i = 0; i < argc; ++i) {
    const int fd = ::open(argv[i], O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    if (first) page += "<OL>\n";
    first = false;
    data.clear();
    bool complete = false;
    std::string_view url;
    ssize_t got;
    while (!complete && (got = ::read(fd, buf, sizeof buf)) > 0) {
      data.append(buf, static_cast<std::size_t>(got));
      url = url_line(data, &complete);
    }
    ::close(fd);
    if (!complete) continue;
    const std::string_view arg = argv[i];
    const std::string_view name = arg.substr(0, arg.rfind('.'));
    page.append("<LI><A href=\"").append(url).append("\">").append(name).append("</A><BR>\n");
  }
  page += "</OL>\n<HR>\n</BODY>\n</HTML>\n";
  return write_all(1, page.data(), page.size()) ? 0 : 1;
}

// page += s with & < > " escaped.
void append_escaped(std::string* page, std::string_view s) {
  for (const char c : s) {
    switch (c) {
      case '&': *page += "&amp;"; break;
      case '<': *page += "&lt;"; break;
      case '>': *page += "&gt;"; break;
      case '"': *page += "&quot;"; break;
      default: *page += c; break;
    }
  }
}

bool url_name(const std::string& name) {
  const std::size_t n = name.size();
  return n >= 4 && name[n - 4] == '.' && (name[n - 3] | 0x20) == 'u' && (name[n - 2] | 0x20) == 'r' &&
         (name[n - 1] | 0x20) == 'l';
}

struct Walk {
  std::string page;
  bool first_list = true;
  std::string data;
};

// The folder name of the folder at (AT_FDCWD: the argument), rel below the
// argument ("" the argument itself). As favlink: opened through its parent
// without following links, read once, its files opened through it without
// blocking and checked to be regular before they are read. The stream stays
// open while the subfolders are walked, for its descriptor.
void walk_folder(Walk* w, int at, const std::string& name_in, const std::string& rel) {
  const int fd = ::openat(at, name_in.c_str(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC | (at == AT_FDCWD ? 0 : O_NOFOLLOW));
  if (fd < 0) die(std::strerror(errno), name_in.c_str());
  DIR* dir = ::fdopendir(fd);
  if (dir == nullptr) die(std::strerror(errno), name_in.c_str());
  std::vector<std::string> files, folders;
  while (const dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    unsigned char type = e->d_type;
    if (type == DT_LNK || type == DT_UNKNOWN) {
      // As favlink: a link counts only as the file it leads to.
      struct stat st;
      bool link = type == DT_LNK;
      if (!link && ::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode)) {
        type = DT_DIR;
      } else {
        type = ::fstatat(fd, name.c_str(), &st, 0) == 0 && S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
      }
    }
    if (type == DT_REG && url_name(name)) files.push_back(name);
    if (type == DT_DIR) folders.push_back(name);
  }
  std::sort(files.begin(), files.end());
  std::sort(folders.begin(), folders.end());

  bool heading = false;
  char buf[kReadSize];
  for (const std::string& name : files) {
    const int file = ::openat(fd, name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (file < 0) continue;
    struct stat st;
    if (::fstat(file, &st) != 0 || !S_ISREG(st.st_mode)) {
      ::close(file);
      continue;
    }
    if (!rel.empty() && !heading) {
      if (!w->first_list) w->page += "</OL><HR>\n";
      w->page += "<H3>[";
      append_escaped(&w->page, rel);
      w->page += "]</H3>\n<OL>\n";
      heading = true;
    } else if (rel.empty() && w->first_list) {
      w->page += "<OL>\n";
    }
    w->first_list = false;
    w->data.clear();
    ssize_t got;
    while ((got = ::read(file, buf, sizeof buf)) > 0) w->data.append(buf, static_cast<std::size_t>(got));
    ::close(file);
    bool complete = false;
    const std::string_view url = url_line(w->data, &complete);
    if (!complete) continue;
    w->page += "<LI><A href=\"";
    append_escaped(&w->page, url);
    w->page += "\">";
    append_escaped(&w->page, std::string_view(name).substr(0, name.size() - 4));
    w->page += "</A><BR>\n";
  }
  for (const std::string& name : folders) walk_folder(w, fd, name, rel.empty() ? name : rel + "/" + name);
  ::closedir(dir);
}

int walk(const char* dir) {
  Walk w;
  w.page =
      "<HTML>\n<HEAD>\n"
      "<META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\n"
      "<TITLE>Favorite Links</TITLE>\n</HEAD>\n<BODY>\n"
      "<CENTER><H2>Favorite Links From URL Files</H2></CENTER><HR>\n";
  walk_folder(&w, AT_FDCWD, dir, "");
  w.page += "</OL>\n<HR>\n</BODY>\n</HTML>\n";
  return write_all(1, w.page.data(), w.page.size()) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "shortcut") == 0) return shortcut(argv[2], argv[3], false);
  if (argc == 4 && std::strcmp(argv[1], "tree") == 0) return shortcut(argv[2], argv[3], true);
  if (argc >= 2 && std::strcmp(argv[1], "linkpage") == 0) return linkpage(argc - 2, argv + 2);
  if (argc == 3 && std::strcmp(argv[1], "walk") == 0) return walk(argv[2]);
  std::fputs(
      "usage: favlink_floor shortcut MANIFEST OUTDIR\n"
      "       favlink_floor tree MANIFEST OUTDIR\n"
      "       favlink_floor linkpage FILE...\n"
      "       favlink_floor walk DIR\n",
      stderr);
  return 2;
}
