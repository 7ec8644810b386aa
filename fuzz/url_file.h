// The one shape a .url file written by the shortcut writer may have, for the
// fuzz targets that look at what it wrote:
//   "[InternetShortcut]\r\nURL=" url "\r\n"
// and, only when an icon file was given,
//   "IconIndex=" n "\r\nIconFile=" icon "\r\n"   (n: the index when > 0, else 0)
// The url comes from one line piece, so it holds no LF and no NUL (a lone CR
// may stay in it).
#ifndef FAVLINK_FUZZ_URL_FILE_H_
#define FAVLINK_FUZZ_URL_FILE_H_

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz {

inline std::string read_file(const std::string& path) {
  std::string bytes;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW);
  if (fd < 0) {
    std::perror(path.c_str());
    std::abort();
  }
  char buf[4096];
  for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) {
    bytes.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return bytes;
}

// True when bytes is a complete .url file of the shape above; *url receives
// its URL. icon is the -i file (null: none given), icon_index the -i index.
inline bool parse_url_file(const std::string& bytes, const char* icon, int icon_index,
                           std::string* url) {
  static const std::string kHead = "[InternetShortcut]\r\nURL=";
  if (bytes.compare(0, kHead.size(), kHead) != 0) return false;
  const std::size_t lf = bytes.find('\n', kHead.size());
  if (lf == std::string::npos || bytes[lf - 1] != '\r' || lf - 1 < kHead.size()) return false;
  *url = bytes.substr(kHead.size(), lf - 1 - kHead.size());
  if (url->find('\0') != std::string::npos) return false;
  std::string tail;
  if (icon != nullptr) {
    tail = "IconIndex=" + std::to_string(icon_index > 0 ? icon_index : 0) + "\r\nIconFile=" + icon +
           "\r\n";
  }
  return bytes.compare(lf + 1, std::string::npos, tail) == 0;
}

}  // namespace fuzz

#endif  // FAVLINK_FUZZ_URL_FILE_H_
