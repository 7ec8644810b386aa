#include "support/freespace-win32.h"

#include <windows.h>

#include "support/freespace.h"
#include "support/wide-win32.h"

namespace {

using GetDiskFreeSpaceExA_t = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER,
                                            PULARGE_INTEGER);

FARPROC WINAPI real_lookup(HMODULE module, LPCSTR name) { return GetProcAddress(module, name); }

BOOL WINAPI real_fallback(LPCSTR root, LPDWORD sectors_per_cluster, LPDWORD bytes_per_sector,
                          LPDWORD free_clusters, LPDWORD total_clusters) {
  return GetDiskFreeSpaceA(root, sectors_per_cluster, bytes_per_sector, free_clusters,
                           total_clusters);
}

FreeSpaceLookup g_lookup = real_lookup;
FreeSpaceFallback g_fallback = real_fallback;

}  // namespace

FreeSpaceLookup set_free_space_lookup(FreeSpaceLookup lookup) {
  const FreeSpaceLookup old = g_lookup;
  g_lookup = lookup != nullptr ? lookup : real_lookup;
  return old;
}

FreeSpaceFallback set_free_space_fallback(FreeSpaceFallback fallback) {
  const FreeSpaceFallback old = g_fallback;
  g_fallback = fallback != nullptr ? fallback : real_fallback;
  return old;
}

// Asks the drive root of path. The extended query is looked up afresh on
// every call and the module released after it, whatever happened; where the
// extended query is missing the older one is used, its product formed in
// double precision so that no 32-bit count overflows:
//   0xFFFFFFFF free clusters * 8 sectors * 512 bytes -> 17592186040320.0
double query_free_bytes(const char* path) {
  char root[4];
  free_space_root(path, root);
  HMODULE kernel = LoadLibraryA("KERNEL32.DLL");
  // FARPROC is a generic function pointer; the detour through void* keeps
  // the conversion to the real signature free of cast warnings.
  auto ex = reinterpret_cast<GetDiskFreeSpaceExA_t>(
      reinterpret_cast<void*>(g_lookup(kernel, "GetDiskFreeSpaceExA")));
  double free_bytes = -1.0;
  if (ex != nullptr) {
    ULARGE_INTEGER avail, total, total_free;
    if (ex(root, &avail, &total, &total_free)) {
      free_bytes =
          static_cast<double>(avail.HighPart) * 4294967296.0 + static_cast<double>(avail.LowPart);
    }
  } else {
    DWORD sectors_per_cluster, bytes_per_sector, free_clusters, total_clusters;
    if (g_fallback(root, &sectors_per_cluster, &bytes_per_sector, &free_clusters,
                   &total_clusters)) {
      free_bytes = static_cast<double>(free_clusters) * static_cast<double>(sectors_per_cluster) *
                   static_cast<double>(bytes_per_sector);
    }
  }
  FreeLibrary(kernel);
  return free_bytes;
}

// Asked of the path the held folder has now: no other folder can stand there
// while it is held.
double query_free_bytes(const Folder& folder) {
  ULARGE_INTEGER avail, total, total_free;
  const std::wstring w = held_path(folder, "");
  if (w.empty() || !GetDiskFreeSpaceExW(w.c_str(), &avail, &total, &total_free)) return -1.0;
  return static_cast<double>(avail.QuadPart);
}
