#include "platform/desktop_open.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_system.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

// A stand-in opener that ends with the given exit status.
std::string FakeOpener(const TestFolder& folder, int exit_status) {
  std::string path = folder / ("opener" + std::to_string(exit_status));
  FileSystem().WriteFile(path, "#!/bin/sh\nexit " + std::to_string(exit_status) + "\n");
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
  return path;
}

TEST(DesktopOpenTest, MapsTheOpenersExitStatus) {
  TestFolder folder;
  struct Case {
    int exit_status;
    int mode;
    int expected;
  };
  const Case cases[] = {
      {0, 1, 42}, {2, 1, 2}, {2, 2, 3}, {3, 1, 27}, {1, 1, 0}, {4, 2, 0},
  };
  for (const Case& c : cases) {
    std::string opener = FakeOpener(folder, c.exit_status);
    EXPECT_EQ(OpenWithDesktop(folder / "a file.txt", c.mode, opener), c.expected)
        << c.exit_status << " mode " << c.mode;
  }
  EXPECT_EQ(OpenWithDesktop(folder / "a.txt", 1, folder / "no-such-opener"), -1);
}

}  // namespace
}  // namespace pentrak
