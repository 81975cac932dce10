#include "settings/default_drive.h"

#include <gtest/gtest.h>

#include "settings/program_options.h"

namespace pentrak {
namespace {

TEST(DefaultDriveTest, OnlyDrivelessRootedPathsGetTheDriveGivenOrTheOptions) {
  struct Case {
    const char* path;
    const char* drive;
    short enabled;
    const char* expected;
  };
  const Case cases[] = {
      {"\\sites\\a.web", "D:", 1, "D:\\sites\\a.web"},
      {"/sites/a.web", "D:", 1, "D:/sites/a.web"},
      {"\\\\server\\a.web", "D:", 1, "\\\\server\\a.web"},
      {"C:\\a.web", "D:", 1, "C:\\a.web"},
      {"a.web", "D:", 1, "a.web"},
      {"\\", "D:", 1, "\\"},
      {"\\sites\\a.web", "", 1, "\\sites\\a.web"},
      {"\\sites\\a.web", "D:", 0, "\\sites\\a.web"},
      {"\\sites\\a.web", "D:", 2, "\\sites\\a.web"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ApplyDefaultDrive(c.path, c.drive, c.enabled), c.expected) << c.path;
  }
  // Without a drive of its own the program options' drive applies, when it is enabled.
  ProgramOptions options;
  options.default_drive = "E:";
  options.enable_default_drive = 1;
  EXPECT_EQ(ApplyDefaultDrive("\\lists\\out.txt", options), "E:\\lists\\out.txt");
  options.enable_default_drive = 0;
  EXPECT_EQ(ApplyDefaultDrive("\\lists\\out.txt", options), "\\lists\\out.txt");
}

}  // namespace
}  // namespace pentrak
