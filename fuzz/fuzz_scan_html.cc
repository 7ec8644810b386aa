// scan_html over arbitrary bytes, with the shortcut writer writing for real
// into a private scratch folder that is emptied on every run.
//
// Input: option bytes first, then the HTML file.
//   byte 0   bit 0: -s, bit 1: -a, bit 2: -i, bit 3: -n (each takes the next
//            field, in this order); bits 4..6: which -o value (the -o forms below)
//   byte 1   length unit of the long -o value
//   fields   one per option bit set, each ended by '\n'
//   rest     the HTML file, served from a memfd (the scanner opens by path)
// The option values are prepared as the command line does: -a cut after its
// last '/' with '/' appended; -i split at its last ';'; an -n value with a
// character favlink refuses ends the run, as it does in favlink.
//
// After each scan: the result is 0 (no link can make a create fail in an
// empty folder of our own); nothing appeared outside the output folder; every
// file there is a regular file named prefix...".url", at most 255 bytes, a
// well-formed .url file whose URL is absolute or starts with the -a prefix;
// and there are no more files than closing tags "</A>" / "</a>" in the input.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "app/favlink.h"
#include "scratch_dir.h"
#include "shortcut/scan_html.h"
#include "support/sjis.h"
#include "url_file.h"

namespace {

struct World {
  fuzz::ScratchDir root{"fuzz_scan_html"};
  std::string out = root.path() + "/out";  // the current folder during scans
  int html_fd = -1;
  std::string html_path;
};

World& world() {
  static World* w = [] {
    auto* nw = new World;
    if (::mkdir(nw->out.c_str(), 0700) != 0 || ::chdir(nw->out.c_str()) != 0) {
      std::perror(nw->out.c_str());
      std::abort();
    }
    nw->html_fd = ::memfd_create("bookmarks.html", 0);
    if (nw->html_fd < 0) {
      std::perror("memfd_create");
      std::abort();
    }
    nw->html_path = "/proc/self/fd/" + std::to_string(nw->html_fd);
    return nw;
  }();
  return *w;
}

// Takes the next field, up to '\n' or the end of the input.
std::string take_field(std::string_view* in) {
  const std::size_t nl = in->find('\n');
  std::string field(in->substr(0, nl));
  in->remove_prefix(nl == std::string_view::npos ? in->size() : nl + 1);
  return field;
}

std::size_t count(std::string_view hay, std::string_view needle) {
  std::size_t n = 0;
  for (std::size_t at = hay.find(needle); at != std::string_view::npos;
       at = hay.find(needle, at + 1)) {
    ++n;
  }
  return n;
}

bool starts_with(const std::string& s, std::string_view head) {
  return s.compare(0, head.size(), head) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  World& w = world();
  if (size < 2) return 0;
  const unsigned flags = data[0];
  const unsigned unit = data[1];
  std::string_view in(reinterpret_cast<const char*>(data) + 2, size - 2);

  const std::string select = (flags & 1) ? take_field(&in) : "";
  std::string prefix;
  if (flags & 2) {
    std::string a = take_field(&in);
    if (a.size() > static_cast<std::size_t>(kPrefixArea - 2)) return 0;  // refused by favlink
    a.resize(std::strlen(a.c_str()));
    if (char* slash = Strrchr(a.data(), '/')) a.resize(static_cast<std::size_t>(slash - a.data()));
    prefix = a + "/";
  }
  std::string icon_value;
  const char* icon = nullptr;
  int icon_index = -1;
  if (flags & 4) {
    icon_value = take_field(&in);
    icon_value.resize(std::strlen(icon_value.c_str()));
    if (char* semi = Strrchr(icon_value.data(), ';')) {
      icon_index = to_int(semi + 1);
      icon_value.resize(static_cast<std::size_t>(semi - icon_value.data()));
    }
    icon = icon_value.c_str();
  }
  std::string name_prefix = (flags & 8) ? take_field(&in) : "";
  name_prefix.resize(std::strlen(name_prefix.c_str()));
  if (illegal_name(name_prefix.c_str())) return 0;  // refused by favlink

  // The -o forms: none, relative, absolute, one with a trailing separator
  // (two separators in the path), one through the parent folder, and a long
  // one that reaches the path limit.
  std::string outdir;
  switch ((flags >> 4) & 7) {
    case 0: break;
    case 1: outdir = "."; break;
    case 2: outdir = w.out; break;
    case 3: outdir = w.out + "/"; break;
    case 4: outdir = "../out//."; break;
    default:
      outdir = ".";
      for (unsigned i = 0; i < unit * 4; ++i) outdir += "/.";
      break;
  }

  if (::ftruncate(w.html_fd, 0) != 0 ||
      ::pwrite(w.html_fd, in.data(), in.size(), 0) != static_cast<ssize_t>(in.size())) {
    std::abort();
  }

  const int rc = scan_html(w.html_path.c_str(), prefix.c_str(), select.c_str(), outdir.c_str(), icon,
                           icon_index, name_prefix.c_str());
  if (rc != 0) {
    std::fprintf(stderr, "scan_html gave %d in an empty folder of its own\n", rc);
    std::abort();
  }

  const auto outside = fuzz::list_dir(w.root.path());
  if (outside.size() != 1 || outside[0] != "out") {
    std::fprintf(stderr, "a file appeared outside the output folder\n");
    std::abort();
  }
  const auto made = fuzz::list_dir(w.out);
  if (made.size() > count(in, "</A>") + count(in, "</a>")) {
    std::fprintf(stderr, "%zu files from fewer links\n", made.size());
    std::abort();
  }
  for (const std::string& name : made) {
    const std::string path = w.out + "/" + name;
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
      std::fprintf(stderr, "[%s] is not a regular file\n", name.c_str());
      std::abort();
    }
    if (name.size() > 255 || name.size() < name_prefix.size() + 4 ||
        !starts_with(name, name_prefix) || name.compare(name.size() - 4, 4, ".url") != 0) {
      std::fprintf(stderr, "bad file name [%s]\n", name.c_str());
      std::abort();
    }
    std::string url;
    if (!fuzz::parse_url_file(fuzz::read_file(path), icon, icon_index, &url)) {
      std::fprintf(stderr, "[%s] is not a well-formed .url file\n", name.c_str());
      std::abort();
    }
    const bool absolute = starts_with(url, "http:") || starts_with(url, "ftp:");
    if (!absolute && (prefix.empty() || !starts_with(url, prefix))) {
      std::fprintf(stderr, "[%s]: relative URL [%s] without the prefix\n", name.c_str(),
                   url.c_str());
      std::abort();
    }
  }
  fuzz::empty_dir(w.out);
  return 0;
}
