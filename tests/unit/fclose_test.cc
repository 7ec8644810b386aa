#include "support/fclose.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

TEST(FreeSpaceRoot, DriveLetterAndColonElseTheCurrentRoot) {
  struct Case {
    const char* path;
    const char* root;
  };
  const std::vector<Case> cases = {
      {"c:\\x", "c:\\"},
      {"C:x", "C:\\"},   // drive-relative: still that drive's root
      {"d:", "d:\\"},
      {"x", "\\"},
      {"x:", "x:\\"},
      {"\\\\server\\share\\x", "\\"},
      {"\\x", "\\"},
      {"out/a.url", "\\"},
      {"", "\\"},
      {"c", "\\"},      // shorter than two bytes
      {":", "\\"},
  };
  for (const auto& t : cases) {
    char root[4] = {'#', '#', '#', '#'};
    free_space_root(t.path, root);
    EXPECT_STREQ(root, t.root) << t.path;
  }
}

TEST(GetFreeSpace, RealPath) {
  const int free = getFreeSpace(testing::TempDir().c_str());
  EXPECT_GT(free, 0);
  EXPECT_GT(FreeDiskSpace, 0.0);
  // Clamped: FreeDiskSpace keeps the real figure.
  if (FreeDiskSpace > 2147483647.0) {
    EXPECT_EQ(free, 2147483647);
  }
}

class FcloseTest : public testing::Test {
 protected:
  void SetUp() override {
    path_ = testing::TempDir() + "favlink-fclose-" + std::to_string(std::random_device{}());
  }
  void TearDown() override { fs::remove(path_); }
  std::string path_;
};

TEST_F(FcloseTest, GoodCloseOnAVolumeWithRoomGivesZero) {
  std::FILE* fp = std::fopen(path_.c_str(), "wb");
  ASSERT_NE(fp, nullptr);
  std::fputs("xy", fp);
  testing::internal::CaptureStderr();
  EXPECT_EQ(Fclose(fp, path_.c_str()), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(fs::file_size(path_), 2u);  // flushed, and left on disk
}

}  // namespace
