// Link page mode over arbitrary .url contents and argument names: the page
// head, put_link once per argument, the page tail, with the page thrown away
// (standard output goes to /dev/null) and the link page state checked after
// every put_link.
//
// Input: byte 0 the format type (0, 1, 2 or -1, from its low two bits); the
// page title up to '\n'; then records, each an argument name up to '\n',
// two bytes of length and that many bytes of file content. A name that can
// be a file here (not empty, no '/', not "." or "..", at most 255 bytes) is
// made as a file in the scratch folder, which is the current folder; the
// last record of a name gives its content. Other names are not found: a
// name holding a '/' is put below a folder that does not exist ("./a" or
// "/dev/zero" would reach files of their own).
//
// After put_link: 0 exactly when the file exists, else -2 with the state
// untouched; the current folder is the argument's folder part (up to its last
// backslash, after the extension is cut at the last '.'); the entry counter
// restarts at 1 under a new folder heading and grows by one exactly when the
// file has a line piece beginning "URL=" (pieces as a 2048-byte fgets reads
// them after CR LF became LF).
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "linkpage/put_link.h"
#include "scratch_dir.h"
#include "support/sjis.h"

namespace {

struct Record {
  std::string name;
  std::string content;
};

const fuzz::ScratchDir& scratch() {
  static const fuzz::ScratchDir* dir = [] {
    auto* d = new fuzz::ScratchDir("fuzz_linkpage");
    if (::chdir(d->path().c_str()) != 0 || std::freopen("/dev/null", "w", stdout) == nullptr) {
      std::perror(d->path().c_str());
      std::abort();
    }
    return d;
  }();
  return *dir;
}

std::string take_line(std::string_view* in) {
  const std::size_t nl = in->find('\n');
  std::string s(in->substr(0, nl));
  in->remove_prefix(nl == std::string_view::npos ? in->size() : nl + 1);
  return s.substr(0, s.find('\0'));
}

bool can_be_file(const std::string& name) {
  return !name.empty() && name.size() <= 255 && name != "." && name != ".." &&
         name.find('/') == std::string::npos;
}

// Whether a 2048-byte fgets on the text stream meets a piece that begins
// with "URL=": CR LF reads as LF, a piece ends after an LF or at 2047 bytes.
bool has_link_line(const std::string& raw) {
  std::string text;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    text += raw[i];
  }
  for (std::size_t at = 0; at < text.size();) {
    if (text.compare(at, 4, "URL=") == 0) return true;
    std::size_t len = text.find('\n', at);
    len = len == std::string::npos ? text.size() - at : len + 1 - at;
    at += len < kUrlLine - 1 ? len : kUrlLine - 1;
  }
  return false;
}

[[noreturn]] void fail(const char* what, const std::string& arg) {
  std::fprintf(stderr, "put_link(%zu-byte argument): %s\n", arg.size(), what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::ScratchDir& dir = scratch();
  if (size < 1) return 0;
  static const int kFormats[] = {0, 1, 2, -1};
  std::string_view in(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string title = take_line(&in);
  std::vector<Record> records;
  std::map<std::string, std::string> files;
  while (!in.empty()) {
    Record r;
    r.name = take_line(&in);
    if (r.name.find('/') != std::string::npos) r.name.insert(0, "nowhere/");
    std::size_t n = 0;
    for (int k = 0; k < 2 && !in.empty(); ++k) {
      n = n << 8 | static_cast<unsigned char>(in[0]);
      in.remove_prefix(1);
    }
    if (n > in.size()) n = in.size();
    r.content = std::string(in.substr(0, n));
    in.remove_prefix(n);
    if (can_be_file(r.name)) files[r.name] = r.content;
    records.push_back(std::move(r));
  }
  for (const auto& [name, content] : files) {
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || ::write(fd, content.data(), content.size()) != static_cast<ssize_t>(content.size())) {
      std::perror(name.c_str());
      std::abort();
    }
    ::close(fd);
  }

  if (g_page.owns_folder) std::free(const_cast<char*>(g_page.folder));
  g_page = LinkPage{};
  g_page.title = title.c_str();
  g_page.format = kFormats[data[0] & 3];

  page_head();
  for (const Record& r : records) {
    std::unique_ptr<char[]> arg(new char[r.name.size() + 1]);
    std::memcpy(arg.get(), r.name.c_str(), r.name.size() + 1);
    const int entry = g_page.entry;
    const std::string folder = g_page.folder;
    const int first_list = g_page.first_list;

    const int rc = put_link(arg.get());

    const auto file = files.find(r.name);
    if (file == files.end()) {
      if (rc != -2) fail("a missing file was not reported", r.name);
      if (g_page.entry != entry || folder != g_page.folder || g_page.first_list != first_list) {
        fail("a missing file changed the page state", r.name);
      }
      continue;
    }
    if (rc != 0) fail("an existing file was not opened", r.name);
    std::string cut = r.name;
    if (const char* dot = Strrchr(cut.c_str(), '.')) cut.resize(static_cast<std::size_t>(dot - cut.c_str()));
    const char* sep = Strrchr(cut.c_str(), '\\');
    const std::string want_folder =
        sep != nullptr ? cut.substr(0, static_cast<std::size_t>(sep - cut.c_str())) : folder;
    const int base = want_folder != folder ? 1 : entry;
    const int want_entry = base + (has_link_line(file->second) ? 1 : 0);
    if (want_folder != g_page.folder) fail("wrong current folder", r.name);
    if (g_page.entry != want_entry) fail("wrong entry counter", r.name);
    if (g_page.first_list != 0) fail("first-list flag still set", r.name);
  }
  page_tail();
  std::fflush(stdout);
  fuzz::empty_dir(dir.path());
  return 0;
}
