// The whole program on fuzz input, in a scratch folder of its own.
//
// Input: the arguments, one per line, up to the first NUL byte; the rest is
// the file "f", which the arguments may name as the HTML file or as a .url
// file. An input without a NUL (a corpus file) is the file, run in both modes
// with and without -x (the -x page also walks the scratch folder).
// Before each run the folder holds "f" and "keep/old.url"; after it,
// "keep/old.url" must be unchanged and every other file a well-formed .url
// file. Arguments that would leave the folder ("/...", ".."), the -a question
// and an -n value favlink refuses (both end the process) are defused first.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/favlink.h"

namespace fs = std::filesystem;

static std::string slurp(const fs::path& p) {
  std::ostringstream s;
  s << std::ifstream(p, std::ios::binary).rdbuf();
  return s.str();
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  static const fs::path dir = [] {
    char tmpl[] = "/tmp/favlink-fuzz.XXXXXX";
    if (::mkdtemp(tmpl) == nullptr || ::chdir(tmpl) != 0) std::abort();
    std::atexit([] { fs::remove_all(dir); });
    return fs::path(tmpl);
  }();
  for (const auto& e : fs::directory_iterator(dir)) fs::remove_all(e.path());
  const std::string in(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = in.find('\0');
  fs::create_directory("keep");
  std::ofstream("keep/old.url") << "old";
  std::ofstream("f", std::ios::binary) << (nul == std::string::npos ? in : in.substr(nul + 1));
  for (const std::string& arg_lines :
       nul == std::string::npos
           ? std::vector<std::string>{"-v\nf", "-v\n-x\nf", "-f1\nf", "-x\n-f2\nf\n."}
           : std::vector{in.substr(0, nul)}) {
    std::vector<std::string> args{"favlink"};
    std::istringstream lines(arg_lines);
    for (std::string a; std::getline(lines, a);) {
      if (args.back() == "-n" && illegal_name(a.c_str())) args.back() = "-N";
      const bool leaves = a.starts_with('/') || a.find("..") != std::string::npos;
      args.push_back(a == "-a" || leaves ? "x" : a);
    }
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    favlink_main(static_cast<int>(argv.size()), argv.data());
  }
  if (slurp("keep/old.url") != "old") std::abort();
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    const std::string s = slurp(e.path()), rel = fs::relative(e.path(), dir);
    const bool url = s.starts_with("[InternetShortcut]\r\nURL=") && s.ends_with("\r\n");
    if (e.is_regular_file() && rel != "f" && rel != "keep/old.url" && !url) std::abort();
  }
  return 0;
}
