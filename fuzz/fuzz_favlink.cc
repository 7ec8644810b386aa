// The whole program on fuzz input, in a scratch folder of its own.
//
// Input: the arguments, one per line, up to the first NUL byte; the rest is
// the file "f", which the arguments may name as the HTML file or as a .url
// file. Before each run the folder holds "f" and "keep/old.url"; after it,
// "keep/old.url" must be unchanged and every other file a well-formed .url
// file. Arguments that would leave the folder ("/...", ".."), the -a question
// and an -n value favlink refuses (both end the process) are defused first.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/favlink.h"
#include "linkpage/put_link.h"

namespace fs = std::filesystem;

namespace {

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void spill(const fs::path& p, const std::string& bytes) {
  if (p.has_parent_path()) fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

bool well_formed(const std::string& s) {
  return s.rfind("[InternetShortcut]\r\nURL=", 0) == 0 && s.size() >= 26 &&
         s.compare(s.size() - 2, 2, "\r\n") == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fs::path dir = [] {
    char tmpl[] = "/tmp/favlink-fuzz.XXXXXX";
    const char* d = ::mkdtemp(tmpl);
    if (d == nullptr || ::chdir(d) != 0) std::abort();
    std::atexit([] { fs::remove_all(dir); });
    return fs::path(d);
  }();
  for (const auto& e : fs::directory_iterator(dir)) fs::remove_all(e.path());
  const std::string in(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = in.find('\0');
  spill("f", nul == std::string::npos ? in : in.substr(nul + 1));
  spill("keep/old.url", "old");

  std::vector<std::string> args{"favlink"};
  std::istringstream lines(nul == std::string::npos ? "-v\nf" : in.substr(0, nul));
  for (std::string a; std::getline(lines, a);) {
    if (a.starts_with('/') || a.find("..") != std::string::npos) a = "x";
    if (a == "-a") a = "-A";
    args.push_back(a);
  }
  for (std::size_t i = 1; i + 1 < args.size(); ++i) {
    if (args[i] == "-n" && illegal_name(args[i + 1].c_str())) args[i] = "-N";
  }
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  favlink_main(static_cast<int>(argv.size()), argv.data());
  if (g_page.owns_folder) std::free(const_cast<char*>(g_page.folder));
  g_page = LinkPage{};

  if (slurp("keep/old.url") != "old") std::abort();
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    const fs::path rel = fs::relative(e.path(), dir);
    if (e.is_regular_file() && rel != "f" && rel != "keep/old.url" && !well_formed(slurp(e.path()))) {
      std::abort();
    }
  }
  return 0;
}
