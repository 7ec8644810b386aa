// The Windows free-space query through its two seams: which root is asked,
// by which query, and how the answer is formed and clamped.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/fclose.h"
#include "support/freespace_win32.h"

namespace {

bool g_has_ex;
BOOL g_ok;
std::string g_asked;  // the query ("ex:" or "old:") and the root handed to it

BOOL WINAPI fake_ex(LPCSTR root, PULARGE_INTEGER avail, PULARGE_INTEGER, PULARGE_INTEGER) {
  g_asked += std::string("ex:") + root;
  avail->QuadPart = 0x180000000ULL;
  return g_ok;
}

BOOL WINAPI fake_old(LPCSTR root, LPDWORD spc, LPDWORD bps, LPDWORD free_clusters, LPDWORD) {
  g_asked += std::string("old:") + root;
  *spc = 8, *bps = 512, *free_clusters = 0xFFFFFFFF;
  return g_ok;
}

FARPROC WINAPI fake_lookup(HMODULE, LPCSTR name) {
  return g_has_ex && std::strcmp(name, "GetDiskFreeSpaceExA") == 0
             ? reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&fake_ex)) : nullptr;
}

TEST(FreeSpaceWin32, RootQueryAndAnswer) {
  set_free_space_lookup(fake_lookup);
  set_free_space_fallback(fake_old);
  struct { bool ex; BOOL ok; const char* path; const char* asked; double free; int result; } cases[] = {
      {true, TRUE, "c:\\x", "ex:c:\\", 6442450944.0, 2147483647},
      {false, TRUE, "C:x", "old:C:\\", 17592186040320.0, 2147483647},
      {true, FALSE, "x", "ex:\\", -1.0, -1},
      {false, FALSE, "\\\\s\\x", "old:\\", -1.0, -1},
  };
  for (const auto& t : cases) {
    g_has_ex = t.ex, g_ok = t.ok, g_asked.clear();
    EXPECT_EQ(getFreeSpace(t.path), t.result) << t.path;
    EXPECT_EQ(FreeDiskSpace, t.free) << t.path;
    EXPECT_EQ(g_asked, t.asked) << t.path;
  }
  set_free_space_lookup(nullptr);
  set_free_space_fallback(nullptr);
  EXPECT_GT(getFreeSpace("c:\\"), 0);  // the real query on Wine's drive
}

}  // namespace
