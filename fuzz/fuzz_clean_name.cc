// The name cleaning of the shortcut writer, alone and inside make_url.
//
// Input: byte 0 bit 0: a name prefix follows, ended by '\n' (a prefix that
// favlink refuses ends the run); the rest, up to the first NUL and at most
// 1023 bytes (the scanner's caption buffer), is the caption.
//
// clean_name alone: the name keeps its length (no NUL appears in it), holds
// none of / : * ? " < > and no "..", and differs from its input only where a
// single-byte character was replaced by its table entry; a double-byte
// character (a lead byte 0x80..0x9F / 0xE0..0xFC and a second byte from 0x40)
// is never touched.
// make_url, writing for real into an empty scratch folder: never -1 (no
// caption can make the create fail); at most one file, a regular file right
// in the folder, named prefix + name + ".url", at most 255 bytes, never "."
// or "..", holding a well-formed .url file; and a caption short enough
// always gives a file or the blank-name result 1.
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "app/favlink.h"
#include "scratch_dir.h"
#include "shortcut/make_url.h"
#include "support/sjis.h"
#include "url_file.h"

namespace {

constexpr std::size_t kCaptionArea = 1024;  // the scanner's caption buffer

bool is_lead(unsigned char c) { return (c >= 0x80 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

char replaced(char c) {
  switch (c) {
    case ':': return ';';
    case '/': case '\\': case '|': return '!';
    case '<': return '(';
    case '>': return ')';
    case '*': case '?': return ' ';
    case '"': return '\'';
    default: return c;
  }
}

[[noreturn]] void fail(const char* what, const std::string& in) {
  std::fprintf(stderr, "%s (name of %zu bytes)\n", what, in.size());
  std::abort();
}

void check_clean_name(const std::string& in) {
  std::unique_ptr<char[]> buf(new char[in.size() + 1]);
  std::memcpy(buf.get(), in.c_str(), in.size() + 1);
  clean_name(buf.get());
  const std::string out(buf.get());
  if (out.size() != in.size()) fail("clean_name changed the length", in);
  if (out.find_first_of("/:*?\"<>") != std::string::npos) fail("a forbidden byte stayed", in);
  if (out.find("..") != std::string::npos) fail("\"..\" stayed", in);
  for (std::size_t i = 0; i < in.size();) {
    const auto c = static_cast<unsigned char>(in[i]);
    if (is_lead(c) && i + 1 < in.size() && static_cast<unsigned char>(in[i + 1]) >= 0x40) {
      if (out.compare(i, 2, in, i, 2) != 0) fail("a double-byte character changed", in);
      i += 2;
      continue;
    }
    // A full stop may also have become a blank (one of a "..").
    if (out[i] != in[i] && out[i] != replaced(in[i]) && !(in[i] == '.' && out[i] == ' ')) {
      fail("a byte changed that is not in the table", in);
    }
    ++i;
  }
}

void check_make_url(const std::string& caption, const std::string& name_prefix) {
  static fuzz::ScratchDir dir("fuzz_clean_name");
  std::unique_ptr<char[]> buf(new char[caption.size() + 1]);
  std::memcpy(buf.get(), caption.c_str(), caption.size() + 1);
  // The caption ends at its first line feed, as make_url cuts it.
  char* nl = Strchr(buf.get(), '\n');
  const std::size_t cut = nl != nullptr ? static_cast<std::size_t>(nl - buf.get()) : caption.size();
  const std::size_t cut_source = name_prefix.size() + cut;

  const int rc = make_url(buf.get(), "", "http://a.example/", "", dir.path().c_str(), nullptr, -1,
                          name_prefix.c_str());
  const auto made = fuzz::list_dir(dir.path());
  if (rc < 0) fail("make_url failed in an empty folder", caption);
  if (made.size() > 1) fail("more than one file for one link", caption);
  if (rc == 0 && made.empty() && cut_source + 5 <= 255) fail("a short name wrote nothing", caption);
  if (rc != 0 && !made.empty()) fail("a file was written for a passed-over link", caption);
  for (const std::string& name : made) {
    if (name == "." || name == ".." || name.size() > 255 || name.size() < name_prefix.size() + 4 ||
        name.compare(0, name_prefix.size(), name_prefix) != 0 ||
        name.compare(name.size() - 4, 4, ".url") != 0) {
      fail("bad file name", caption);
    }
    const std::string path = dir.path() + "/" + name;
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) fail("not a regular file", caption);
    std::string url;
    if (!fuzz::parse_url_file(fuzz::read_file(path), nullptr, -1, &url) ||
        url != "http://a.example/") {
      fail("not a well-formed .url file", caption);
    }
  }
  fuzz::empty_dir(dir.path());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  std::string_view in(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string name_prefix;
  if (data[0] & 1) {
    const std::size_t nl = in.find('\n');
    name_prefix = std::string(in.substr(0, nl));
    name_prefix.resize(std::strlen(name_prefix.c_str()));
    in.remove_prefix(nl == std::string_view::npos ? in.size() : nl + 1);
    if (illegal_name(name_prefix.c_str())) return 0;  // refused by favlink
  }
  std::string caption(in.substr(0, kCaptionArea - 1));
  caption.resize(std::strlen(caption.c_str()));

  check_clean_name(caption);
  check_make_url(caption, name_prefix);
  return 0;
}
