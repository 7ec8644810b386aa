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
//       -x makes a folder when its list opens, and whose file lines go on
//       with the link's ADD_DATE (futimens on the open file, as -x sets it),
//       its icon address, description and tags (the lines after URL=)
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
//   favlink_floor bookmark DIR
//       favlink -x -f2 DIR: the walk of walk mode, each .url file read to
//       its end, then one write of the bookmark file: per folder its heading
//       and list, per file its address, its time (from the fstat), its
//       http(s) icon, tags and description, each from its .W section
//       (UTF-7) when it has one
//
// Tree mode builds each file's description and tags sections itself (ASCII
// form and UTF-7), before the first call; bookmark mode decodes UTF-7 as it
// reads, as favlink must.
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

// --- the texts of a .url file's property sections ------------------------------

// The code point of the UTF-8 sequence at s[*i], *i moved past it; a byte
// that begins no well-formed sequence is U+FFFD and moves one byte. Enough
// for the valid UTF-8 of the generated export (overlong forms are not
// looked for).
unsigned next_code_point(std::string_view s, std::size_t* i) {
  const auto b = static_cast<unsigned char>(s[*i]);
  const std::size_t len = b < 0x80 ? 1 : b >= 0xF0 && b < 0xF5 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
  if (len == 0 || *i + len > s.size()) {
    ++*i;
    return 0xFFFD;
  }
  unsigned c = len == 1 ? b : b & (0x7Fu >> len);
  for (std::size_t k = 1; k < len; ++k) {
    const auto n = static_cast<unsigned char>(s[*i + k]);
    if ((n & 0xC0) != 0x80) {
      ++*i;
      return 0xFFFD;
    }
    c = c << 6 | (n & 0x3Fu);
  }
  *i += len;
  return c;
}

void put_utf8(unsigned c, std::string* out) {
  if (c < 0x80) {
    out->push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out->push_back(static_cast<char>(0xC0 | c >> 6));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | c >> 12));
    out->push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | c >> 18));
    out->push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// Each character outside printable ASCII as '?'.   "Café" -> "Caf?"
std::string ascii_form(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const unsigned c = next_code_point(text, &i);
    out.push_back(c >= 0x20 && c <= 0x7E ? static_cast<char>(c) : '?');
  }
  return out;
}

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// UTF-8 text as UTF-7 (RFC 2152): letters, digits and the characters of
// the set below as themselves, '+' as "+-", every other character's UTF-16
// units in a '+' base64 run without padding, closed by '-'.
//   "Café +1" -> "Caf+AOk- +-1"
std::string utf7(std::string_view text) {
  std::string out;
  bool open = false;
  unsigned acc = 0;
  int bits = 0;
  const auto close = [&] {
    if (!open) return;
    if (bits > 0) out.push_back(kBase64[acc << (6 - bits) & 0x3F]);
    out.push_back('-');
    open = false;
    acc = 0;
    bits = 0;
  };
  const auto unit = [&](unsigned u) {
    acc = acc << 16 | u;
    for (bits += 16; bits >= 6;) {
      bits -= 6;
      out.push_back(kBase64[acc >> bits & 0x3F]);
    }
    acc &= (1u << bits) - 1;
  };
  for (std::size_t i = 0; i < text.size();) {
    const unsigned c = next_code_point(text, &i);
    const bool direct = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                        (c != 0 && c < 0x80 &&
                         std::strchr(" '(),-./:?!\"#$%&*;<=>@[]^_`{|}", static_cast<int>(c)) != nullptr);
    if (direct || c == '+') {
      close();
      out += c == '+' ? "+-" : std::string(1, static_cast<char>(c));
      continue;
    }
    if (!open) out.push_back('+');
    open = true;
    if (c >= 0x10000) {
      unit(0xD800 + ((c - 0x10000) >> 10));
      unit(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      unit(c);
    }
  }
  close();
  return out;
}

// UTF-7 back to UTF-8 into *out; false when s is not UTF-7 this reads (a
// byte outside ASCII, a run that ends inside a unit or on a lone surrogate).
bool from_utf7(std::string_view s, std::string* out) {
  out->clear();
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i++]);
    if (c >= 0x80) return false;
    if (c != '+') {
      out->push_back(static_cast<char>(c));
      continue;
    }
    if (i < s.size() && s[i] == '-') {
      out->push_back('+');
      ++i;
      continue;
    }
    unsigned acc = 0, high = 0;
    int bits = 0;
    const std::size_t start = i;
    for (; i < s.size(); ++i) {
      const char* at = std::strchr(kBase64, s[i]);
      if (s[i] == '\0' || at == nullptr) break;
      acc = acc << 6 | static_cast<unsigned>(at - kBase64);
      bits += 6;
      if (bits < 16) continue;
      bits -= 16;
      const unsigned u = acc >> bits;
      acc &= (1u << bits) - 1;
      if (high != 0) {
        if (u < 0xDC00 || u > 0xDFFF) return false;
        put_utf8(0x10000 + ((high - 0xD800) << 10) + (u - 0xDC00), out);
        high = 0;
      } else if (u >= 0xD800 && u <= 0xDBFF) {
        high = u;
      } else if (u >= 0xDC00 && u <= 0xDFFF) {
        return false;
      } else {
        put_utf8(u, out);
      }
    }
    if (i == start || high != 0 || bits >= 6 || acc != 0) return false;
    if (i < s.size() && s[i] == '-') ++i;
  }
  return true;
}

constexpr std::string_view kDescriptionSet = "{5CBF2787-48CF-4208-B90E-EE5E5D420294}";
constexpr std::string_view kTagSet = "{F29F85E0-4FF9-1068-AB91-08002B27B3D9}";

// One property of a .url file: its section, and its .W twin when the text
// has a character outside printable ASCII.
void put_property(std::string* body, std::string_view set, std::string_view key, std::string_view text) {
  if (text.empty()) return;
  body->append("[").append(set).append("]\r\n").append(key).append("=31,");
  body->append(ascii_form(text)).append("\r\n");
  if (std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; })) return;
  body->append("[").append(set).append(".W]\r\n").append(key).append("=31,");
  body->append(utf7(text)).append("\r\n");
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
    // URL, then (in a tree manifest) ADD_DATE, icon, description and tags.
    std::string_view field[5];
    std::string_view more = line.substr(tab + 1);
    for (std::string_view& f : field) {
      const std::size_t end = std::min(more.find('\t'), more.size());
      f = more.substr(0, end);
      more.remove_prefix(std::min(end + 1, more.size()));
    }
    if (!field[1].empty()) j.time = std::strtoll(std::string(field[1]).c_str(), nullptr, 10);
    j.body.append("[InternetShortcut]\r\nURL=").append(field[0]).append("\r\n");
    if (!field[2].empty()) j.body.append("IconIndex=1\r\nIconFile=").append(field[2]).append("\r\n");
    put_property(&j.body, kDescriptionSet, "Prop21", field[3]);
    put_property(&j.body, kTagSet, "Prop5", field[4]);
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

// page += s as a name: each control byte a blank, then escaped.
void append_name(std::string* page, std::string_view s) {
  const std::size_t from = page->size();
  append_escaped(page, s);
  for (std::size_t i = from; i < page->size(); ++i) {
    if (static_cast<unsigned char>((*page)[i]) < 0x20 || (*page)[i] == '\x7F') (*page)[i] = ' ';
  }
}

struct Walk {
  std::string page;
  bool first_list = true;
  std::string data;
  bool bookmark = false;           // the bookmark file, not the page
  std::vector<std::string> open;   // bookmark: the folders whose lists are open
  std::string wide;                // bookmark: a UTF-7 value decoded
};

// Bookmark file: the lists of the folders on the path rel ("a/b") open, the
// others closed.
void bookmark_folders(Walk* w, const std::string& rel) {
  std::vector<std::string> want;
  for (std::size_t start = 0; start < rel.size();) {
    const std::size_t end = std::min(rel.find('/', start), rel.size());
    want.emplace_back(rel, start, end - start);
    start = end + 1;
  }
  std::size_t same = 0;
  while (same < want.size() && same < w->open.size() && want[same] == w->open[same]) ++same;
  for (; w->open.size() > same; w->open.pop_back()) w->page += "</DL><p>\n";
  for (std::size_t i = same; i < want.size(); ++i) {
    w->page += "<DT><H3>";
    append_name(&w->page, want[i]);
    w->page += "</H3>\n<DL><p>\n";
    w->open.push_back(want[i]);
  }
}

// The values of a .url file written by -x that the bookmark file takes:
// each the first of its key in its section, a .W one (UTF-7) before the
// other when it decodes and is not empty.
struct UrlValues {
  enum { kUrl, kUrlW, kIcon, kDesc, kDescW, kTags, kTagsW, kCount };
  std::string_view v[kCount];
  bool has[kCount] = {};
};

UrlValues url_values(std::string_view data) {
  enum class Sec { kOther, kUrlW, kDesc, kDescW, kTags, kTagsW } sec = Sec::kOther;
  UrlValues out;
  const auto take = [&out](int slot, std::string_view line, std::size_t key) {
    if (out.has[slot]) return;
    out.has[slot] = true;
    out.v[slot] = line.substr(key);
  };
  while (!data.empty()) {
    const std::size_t nl = data.find('\n');
    std::string_view line = data.substr(0, nl);
    data.remove_prefix(nl == std::string_view::npos ? data.size() : nl + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    if (line[0] == '[') {
      sec = Sec::kOther;
      if (line == "[InternetShortcut.W]") sec = Sec::kUrlW;
      if (line.size() > 2 && line.substr(1, kDescriptionSet.size()) == kDescriptionSet) {
        sec = line.substr(1 + kDescriptionSet.size()) == "]" ? Sec::kDesc
              : line.substr(1 + kDescriptionSet.size()) == ".W]" ? Sec::kDescW
                                                                  : Sec::kOther;
      }
      if (line.size() > 2 && line.substr(1, kTagSet.size()) == kTagSet) {
        sec = line.substr(1 + kTagSet.size()) == "]" ? Sec::kTags
              : line.substr(1 + kTagSet.size()) == ".W]" ? Sec::kTagsW
                                                          : Sec::kOther;
      }
      continue;
    }
    if (line.substr(0, 4) == "URL=") take(sec == Sec::kUrlW ? UrlValues::kUrlW : UrlValues::kUrl, line, 4);
    if (sec == Sec::kUrlW) continue;
    if (line.substr(0, 9) == "IconFile=") take(UrlValues::kIcon, line, 9);
    if (line.substr(0, 10) == "Prop21=31," && (sec == Sec::kDesc || sec == Sec::kDescW)) {
      take(sec == Sec::kDescW ? UrlValues::kDescW : UrlValues::kDesc, line, 10);
    }
    if (line.substr(0, 9) == "Prop5=31," && (sec == Sec::kTags || sec == Sec::kTagsW)) {
      take(sec == Sec::kTagsW ? UrlValues::kTagsW : UrlValues::kTags, line, 9);
    }
  }
  return out;
}

// One value for the bookmark file: the .W one decoded into *wide when it
// serves, else the plain one (when taken, and not empty unless any is);
// false for none.
bool pick_value(const UrlValues& u, int wide_slot, bool empty_counts, std::string* wide,
                std::string_view* value) {
  if (u.has[wide_slot] && !u.v[wide_slot].empty() && from_utf7(u.v[wide_slot], wide)) {
    *value = *wide;
    return true;
  }
  const int plain = wide_slot == UrlValues::kUrlW ? UrlValues::kUrl : wide_slot - 1;
  *value = u.v[plain];
  return u.has[plain] && (empty_counts || !value->empty());
}

bool web_address(std::string_view s) {
  const auto prefix = [s](std::string_view p) {
    if (s.size() < p.size()) return false;
    for (std::size_t i = 0; i < p.size(); ++i) {
      if ((s[i] | 0x20) != p[i]) return false;
    }
    return true;
  };
  return prefix("http:") || prefix("https:");
}

// The bookmark file's entry of a .url file read whole (data) named name,
// last written at mtime.
void bookmark_item(Walk* w, std::string_view data, std::string_view name, long long mtime) {
  const UrlValues u = url_values(data);
  std::string url_w, desc_w, tags_w;
  std::string_view url, desc, tags;
  if (!pick_value(u, UrlValues::kUrlW, true, &url_w, &url)) return;
  std::string& p = w->page;
  p += "<DT><A HREF=\"";
  append_escaped(&p, url);
  p += "\" ADD_DATE=\"";
  p += std::to_string(mtime);
  if (u.has[UrlValues::kIcon] && web_address(u.v[UrlValues::kIcon])) {
    p += "\" ICON_URI=\"";
    append_escaped(&p, u.v[UrlValues::kIcon]);
  }
  if (pick_value(u, UrlValues::kTagsW, false, &tags_w, &tags)) {
    p += "\" TAGS=\"";
    append_name(&p, tags);
  }
  p += "\">";
  append_name(&p, name);
  p += "</A>\n";
  if (pick_value(u, UrlValues::kDescW, false, &desc_w, &desc)) {
    p += "<DD>";
    append_name(&p, desc);
    p += "\n";
  }
}

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

  if (w->bookmark) bookmark_folders(w, rel);
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
    if (w->bookmark) {
      w->data.clear();
      ssize_t got;
      while ((got = ::read(file, buf, sizeof buf)) > 0) w->data.append(buf, static_cast<std::size_t>(got));
      ::close(file);
      bookmark_item(w, w->data, std::string_view(name).substr(0, name.size() - 4), st.st_mtime);
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

int bookmark(const char* dir) {
  Walk w;
  w.bookmark = true;
  w.page =
      "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
      "<TITLE>Favorite Links From URL Files</TITLE>\n"
      "<H1>Favorite Links From URL Files</H1>\n<DL><p>\n";
  walk_folder(&w, AT_FDCWD, dir, "");
  bookmark_folders(&w, "");
  w.page += "</DL><p>\n";
  return write_all(1, w.page.data(), w.page.size()) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "shortcut") == 0) return shortcut(argv[2], argv[3], false);
  if (argc == 4 && std::strcmp(argv[1], "tree") == 0) return shortcut(argv[2], argv[3], true);
  if (argc >= 2 && std::strcmp(argv[1], "linkpage") == 0) return linkpage(argc - 2, argv + 2);
  if (argc == 3 && std::strcmp(argv[1], "walk") == 0) return walk(argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "bookmark") == 0) return bookmark(argv[2]);
  std::fputs(
      "usage: favlink_floor shortcut MANIFEST OUTDIR\n"
      "       favlink_floor tree MANIFEST OUTDIR\n"
      "       favlink_floor linkpage FILE...\n"
      "       favlink_floor walk DIR\n"
      "       favlink_floor bookmark DIR\n",
      stderr);
  return 2;
}
