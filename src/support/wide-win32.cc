#include "support/wide-win32.h"

#include <windows.h>

#include <cstring>

#include "support/port.h"
#include "support/sjis.h"

namespace {

bool g_utf8_paths = false;

// The C runtime's own split of the wide command line: the same rules that
// gave the ANSI argv, so the two agree argument for argument.
struct StartupInfo {
  int newmode;  // cppcheck-suppress unusedStructMember ; read by the runtime
};
extern "C" int __wgetmainargs(int* argc, wchar_t*** argv, wchar_t*** env, int expand,
                              StartupInfo* info);

}  // namespace

bool utf8_paths() { return g_utf8_paths; }

std::wstring widen(const char* s) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, s, -1, nullptr, 0);
  std::wstring w(n > 0 ? static_cast<std::size_t>(n) : 1, L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, s, -1, w.data(), n);
  w.resize(w.size() - 1);
  return w;
}

std::string narrow(const wchar_t* w) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, w, -1, nullptr, 0, nullptr, nullptr);
  std::string s(n > 0 ? static_cast<std::size_t>(n) : 1, '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, w, -1, s.data(), n, nullptr, nullptr);
  s.resize(std::strlen(s.c_str()));
  return s;
}

void use_utf8_arguments(int argc, char** argv) {
  g_utf8_paths = true;
  int n = 0;
  wchar_t** w = nullptr;
  wchar_t** env = nullptr;
  StartupInfo info{0};
  // No wildcard expansion, as for the ANSI arguments; should the counts
  // differ all the same, the ANSI arguments are converted instead.
  if (__wgetmainargs(&n, &w, &env, 0, &info) == 0 && w != nullptr && n == argc) {
    for (int i = 1; i < argc; ++i) argv[i] = setstr(narrow(w[i]).c_str());
    return;
  }
  for (int i = 1; i < argc; ++i) {
    const int len = MultiByteToWideChar(CP_ACP, 0, argv[i], -1, nullptr, 0);
    std::wstring wide(len > 0 ? static_cast<std::size_t>(len) : 1, L'\0');
    if (len > 0) MultiByteToWideChar(CP_ACP, 0, argv[i], -1, wide.data(), len);
    argv[i] = setstr(narrow(wide.c_str()).c_str());
  }
}
