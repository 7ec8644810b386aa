// The Windows free-space query: which root the kernel is asked about, how
// the extended and the fallback answers become FreeDiskSpace, and the real
// query against the drive the tests run on.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "support/fclose.h"
#include "support/freespace_win32.h"

namespace {

namespace fs = std::filesystem;

// What the fakes below answer and what they were asked.
struct Fake {
  bool ex_present = true;  // the lookup finds "GetDiskFreeSpaceExA"
  BOOL ok = TRUE;
  ULARGE_INTEGER avail{};  // extended query: free bytes available to the caller
  DWORD sectors_per_cluster = 0, bytes_per_sector = 0, free_clusters = 0;
  std::vector<std::string> looked_up;  // names handed to the lookup
  std::vector<std::string> ex_roots;   // roots handed to the extended query
  std::vector<std::string> old_roots;  // roots handed to the fallback query
};
Fake g_fake;

BOOL WINAPI fake_ex(LPCSTR root, PULARGE_INTEGER avail, PULARGE_INTEGER total,
                    PULARGE_INTEGER total_free) {
  g_fake.ex_roots.push_back(root);
  *avail = g_fake.avail;
  // Totals that differ from the caller's share: only the first count counts.
  total->QuadPart = 1ULL << 40;
  total_free->QuadPart = 1ULL << 39;
  return g_fake.ok;
}

FARPROC WINAPI fake_lookup(HMODULE module, LPCSTR name) {
  g_fake.looked_up.push_back(name);
  if (std::strcmp(name, "GetDiskFreeSpaceExA") != 0) return GetProcAddress(module, name);
  if (!g_fake.ex_present) return nullptr;
  return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&fake_ex));
}

BOOL WINAPI fake_fallback(LPCSTR root, LPDWORD sectors_per_cluster, LPDWORD bytes_per_sector,
                          LPDWORD free_clusters, LPDWORD total_clusters) {
  g_fake.old_roots.push_back(root);
  *sectors_per_cluster = g_fake.sectors_per_cluster;
  *bytes_per_sector = g_fake.bytes_per_sector;
  *free_clusters = g_fake.free_clusters;
  *total_clusters = 0xFFFFFFFF;
  return g_fake.ok;
}

// The extended query looks missing; the fallback is the real one.
FARPROC WINAPI lookup_without_ex(HMODULE module, LPCSTR name) {
  g_fake.looked_up.push_back(name);
  if (std::strcmp(name, "GetDiskFreeSpaceExA") == 0) return nullptr;
  return GetProcAddress(module, name);
}

// Installs the fakes for one test and puts the real entry points back.
class FakeKernel : public testing::Test {
 protected:
  void SetUp() override {
    g_fake = Fake{};
    set_free_space_lookup(fake_lookup);
    set_free_space_fallback(fake_fallback);
  }
  void TearDown() override {
    set_free_space_lookup(nullptr);
    set_free_space_fallback(nullptr);
  }
};

ULARGE_INTEGER bytes(DWORD high, DWORD low) {
  ULARGE_INTEGER v;
  v.HighPart = high;
  v.LowPart = low;
  return v;
}

TEST_F(FakeKernel, TheQueryIsAskedAboutTheRootOfThePathsDrive) {
  struct Case {
    const char* path;
    const char* root;
  };
  const std::vector<Case> cases = {
      {"c:\\x", "c:\\"},
      {"C:x", "C:\\"},  // drive-relative
      {"x", "\\"},
      {"\\\\server\\share\\x", "\\"},
      {"", "\\"},
      {"c", "\\"},
  };
  g_fake.avail = bytes(0, 4096);
  for (const auto& t : cases) {
    for (bool ex : {true, false}) {
      g_fake.ex_present = ex;
      g_fake.sectors_per_cluster = 1;
      g_fake.bytes_per_sector = 1;
      g_fake.free_clusters = 1;
      g_fake.ex_roots.clear();
      g_fake.old_roots.clear();
      getFreeSpace(t.path);
      const auto& asked = ex ? g_fake.ex_roots : g_fake.old_roots;
      const auto& not_asked = ex ? g_fake.old_roots : g_fake.ex_roots;
      ASSERT_EQ(asked.size(), 1u) << t.path;
      EXPECT_EQ(asked[0], t.root) << t.path;
      EXPECT_TRUE(not_asked.empty()) << t.path;
    }
  }
}

TEST_F(FakeKernel, TheExtendedQueryIsLookedUpAfreshOnEveryCall) {
  g_fake.avail = bytes(0, 1);
  getFreeSpace("c:\\a");
  getFreeSpace("c:\\b");
  EXPECT_EQ(g_fake.looked_up,
            (std::vector<std::string>{"GetDiskFreeSpaceExA", "GetDiskFreeSpaceExA"}));
}

TEST_F(FakeKernel, ExtendedAnswerHighTimesTwoToThe32PlusLowThenClamped) {
  struct Case {
    DWORD high, low;
    BOOL ok;
    double free_disk_space;
    int result;
  };
  const std::vector<Case> cases = {
      {0, 0, TRUE, 0.0, 0},
      {0, 1, TRUE, 1.0, 1},
      {0, 2147483647, TRUE, 2147483647.0, 2147483647},
      {0, 0x80000000, TRUE, 2147483648.0, 2147483647},  // low half taken unsigned
      {0, 0xFFFFFFFF, TRUE, 4294967295.0, 2147483647},
      {1, 5, TRUE, 4294967301.0, 2147483647},
      {0xFFFFFFFF, 0xFFFFFFFF, TRUE, 18446744073709551615.0, 2147483647},
      {0, 4096, FALSE, -1.0, -1},  // a failed query: the counts are not looked at
  };
  for (const auto& t : cases) {
    g_fake.avail = bytes(t.high, t.low);
    g_fake.ok = t.ok;
    EXPECT_EQ(getFreeSpace("c:\\x"), t.result) << t.high << ":" << t.low;
    EXPECT_EQ(FreeDiskSpace, t.free_disk_space) << t.high << ":" << t.low;
  }
}

TEST_F(FakeKernel, FallbackProductOfThreeCountsWithoutOverflow) {
  struct Case {
    DWORD sectors_per_cluster, bytes_per_sector, free_clusters;
    BOOL ok;
    double free_disk_space;
    int result;
  };
  const std::vector<Case> cases = {
      {8, 512, 0, TRUE, 0.0, 0},
      {1, 1, 12345, TRUE, 12345.0, 12345},
      {8, 512, 524287, TRUE, 2147479552.0, 2147479552},
      {8, 512, 524288, TRUE, 2147483648.0, 2147483647},  // 2^31 exactly: 32 bits would wrap
      {8, 512, 0xFFFFFFFF, TRUE, 17592186040320.0, 2147483647},
      {128, 4096, 0x80000000, TRUE, 1125899906842624.0, 2147483647},
      {8, 512, 100, FALSE, -1.0, -1},
  };
  g_fake.ex_present = false;
  for (const auto& t : cases) {
    g_fake.sectors_per_cluster = t.sectors_per_cluster;
    g_fake.bytes_per_sector = t.bytes_per_sector;
    g_fake.free_clusters = t.free_clusters;
    g_fake.ok = t.ok;
    EXPECT_EQ(getFreeSpace("c:\\x"), t.result) << t.free_clusters;
    EXPECT_EQ(FreeDiskSpace, t.free_disk_space) << t.free_clusters;
  }
  EXPECT_TRUE(g_fake.ex_roots.empty());
}

TEST_F(FakeKernel, FcloseNamesTheDriveLetterAsWrittenWhenNoSpaceIsLeft) {
  const std::string file =
      testing::TempDir() + "favlink-fclose-" + std::to_string(std::random_device{}());
  struct Case {
    const char* path;
    DWORD free_low;
    BOOL ok;
    int result;
    const char* err;
  };
  const std::vector<Case> cases = {
      {"q:\\out\\a.url", 0, TRUE, -1, "q drive: no free disk space\n"},
      {"Q:a.url", 0, TRUE, -1, "Q drive: no free disk space\n"},
      {"q:\\out\\a.url", 4096, FALSE, -1, "q drive: no free disk space\n"},
      {"out\\a.url", 0, TRUE, -1, "no free disk space\n"},
      {"\\\\server\\share\\a.url", 0, TRUE, -1, "no free disk space\n"},
      {"q:\\out\\a.url", 1, TRUE, 0, ""},
  };
  for (const auto& t : cases) {
    g_fake.avail = bytes(0, t.free_low);
    g_fake.ok = t.ok;
    std::FILE* fp = std::fopen(file.c_str(), "w");
    ASSERT_NE(fp, nullptr);
    std::fputs("x\n", fp);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Fclose(fp, t.path), t.result) << t.path;
    EXPECT_EQ(testing::internal::GetCapturedStderr(), t.err) << t.path;
    EXPECT_EQ(fs::file_size(file), 3u) << t.path;  // text mode: "x\r\n", left on disk
  }
  fs::remove(file);
}

// The real kernel, on the drive that holds the test's temporary folder.
class RealKernel : public testing::Test {
 protected:
  void SetUp() override {
    g_fake = Fake{};
    const std::string tmp = testing::TempDir();
    ASSERT_GE(tmp.size(), 3u);
    ASSERT_EQ(tmp[1], ':') << tmp;
    path_ = tmp + "x.url";
  }
  void TearDown() override { set_free_space_lookup(nullptr); }
  std::string path_;
};

TEST_F(RealKernel, ExtendedQuery) {
  const int result = getFreeSpace(path_.c_str());
  EXPECT_GT(result, 0);
  EXPECT_GT(FreeDiskSpace, 0.0);
  EXPECT_EQ(result, FreeDiskSpace > 2147483647.0 ? 2147483647 : static_cast<int>(FreeDiskSpace));
}

TEST_F(RealKernel, FallbackWhenTheExtendedQueryIsMissing) {
  set_free_space_lookup(lookup_without_ex);
  const int result = getFreeSpace(path_.c_str());
  EXPECT_EQ(g_fake.looked_up, std::vector<std::string>{"GetDiskFreeSpaceExA"});
  EXPECT_GT(result, 0);
  EXPECT_GT(FreeDiskSpace, 0.0);
  EXPECT_EQ(result, FreeDiskSpace > 2147483647.0 ? 2147483647 : static_cast<int>(FreeDiskSpace));
  // A whole number of clusters of that drive.
  DWORD sectors_per_cluster = 0, bytes_per_sector = 0, free_clusters = 0, total_clusters = 0;
  const std::string root = path_.substr(0, 2) + "\\";
  ASSERT_TRUE(GetDiskFreeSpaceA(root.c_str(), &sectors_per_cluster, &bytes_per_sector,
                                &free_clusters, &total_clusters));
  const double cluster = static_cast<double>(sectors_per_cluster) * bytes_per_sector;
  ASSERT_GT(cluster, 0.0);
  EXPECT_EQ(FreeDiskSpace / cluster, static_cast<double>(static_cast<long long>(FreeDiskSpace / cluster)));
}

TEST_F(RealKernel, ADriveThatDoesNotExistIsAFailedQuery) {
  for (char letter = 'B'; letter <= 'Y'; ++letter) {
    const std::string root = std::string(1, letter) + ":\\";
    if (GetDriveTypeA(root.c_str()) != DRIVE_NO_ROOT_DIR) continue;
    const std::string path = root + "x.url";
    for (FreeSpaceLookup lookup : {FreeSpaceLookup{nullptr}, FreeSpaceLookup{lookup_without_ex}}) {
      set_free_space_lookup(lookup);
      EXPECT_EQ(getFreeSpace(path.c_str()), -1) << path;
      EXPECT_EQ(FreeDiskSpace, -1.0) << path;
    }
    return;
  }
  GTEST_SKIP() << "every drive letter is in use";
}

}  // namespace
