// The POSIX free-space query asks the volume of the path itself, so a path
// that does not exist is a failed query.
#include "support/fclose.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

TEST(GetFreeSpace, MissingPathFails) {
  const std::string missing = testing::TempDir() + "favlink-no-such-folder/x";
  EXPECT_EQ(getFreeSpace(missing.c_str()), -1);
  EXPECT_EQ(FreeDiskSpace, -1.0);
  EXPECT_EQ(getFreeSpace(""), -1);
}

TEST(Fclose, FailedQueryAfterAGoodCloseCountsAsNoFreeSpace) {
  // The stream closes well, but the path it is checked under does not
  // exist. The drive letter form is used when the path's second byte is a
  // colon, with the letter as written.
  const std::string file = testing::TempDir() + "favlink-fclose-" + std::to_string(std::random_device{}());
  struct Case {
    const char* path;
    const char* err;
  };
  const std::vector<Case> cases = {
      {"c:\\favlink-missing\\a.url", "c drive: no free disk space\n"},
      {"Q:favlink-missing", "Q drive: no free disk space\n"},
      {"favlink-missing/a.url", "no free disk space\n"},
      {"c", "no free disk space\n"},
  };
  for (const auto& t : cases) {
    std::FILE* fp = std::fopen(file.c_str(), "w");
    ASSERT_NE(fp, nullptr);
    std::fputs("x", fp);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Fclose(fp, t.path), -1) << t.path;
    EXPECT_EQ(testing::internal::GetCapturedStderr(), t.err);
    EXPECT_EQ(FreeDiskSpace, -1.0);
    EXPECT_EQ(fs::file_size(file), 1u);  // written, and never removed
  }
  fs::remove(file);
}

}  // namespace
