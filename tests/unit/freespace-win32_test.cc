// The Windows free-space query through its two seams: the extended query when
// kernel32 has it, else the older one; how each answer is formed and clamped.
#include "support/freespace-win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "support/fclose.h"

namespace {

bool g_has_ex;
BOOL g_ok;

BOOL WINAPI fake_ex(LPCSTR, PULARGE_INTEGER avail, PULARGE_INTEGER, PULARGE_INTEGER) {
  avail->QuadPart = 0x180000000ULL;  // high half 1, low half 0x80000000 taken unsigned
  return g_ok;
}

BOOL WINAPI fake_old(LPCSTR, LPDWORD spc, LPDWORD bps, LPDWORD free_clusters, LPDWORD) {
  *spc = 8, *bps = 512, *free_clusters = 0xFFFFFFFF;  // a product beyond 32 bits
  return g_ok;
}

FARPROC WINAPI fake_lookup(HMODULE, LPCSTR name) {
  return g_has_ex && std::strcmp(name, "GetDiskFreeSpaceExA") == 0
             ? reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&fake_ex))
             : nullptr;
}

TEST(FreeSpaceWin32, QueryAndAnswer) {
  set_free_space_lookup(fake_lookup);
  set_free_space_fallback(fake_old);
  struct {
    bool ex;
    BOOL ok;
    double free;
    int result;
  } cases[] = {{true, TRUE, 6442450944.0, 2147483647},
               {false, TRUE, 17592186040320.0, 2147483647},
               {true, FALSE, -1.0, -1},
               {false, FALSE, -1.0, -1}};
  for (const auto& t : cases) {
    g_has_ex = t.ex, g_ok = t.ok;
    EXPECT_EQ(getFreeSpace("c:\\x"), t.result) << t.ex << t.ok;
    EXPECT_EQ(FreeDiskSpace, t.free) << t.ex << t.ok;
  }
  set_free_space_lookup(nullptr);
  set_free_space_fallback(nullptr);
  EXPECT_GT(getFreeSpace("c:\\"), 0);  // the real query on Wine's drive
}

}  // namespace
