#include "settings/display_settings_file.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/error.h"
#include "platform/file_system.h"
#include "settings/program_options.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

constexpr char kAllOff[] =
    "display-paths=0\r\ndisplay-attributes=0\r\ndisplay-macros=0\r\nmodified-only=0\r\n"
    "skip-read-only=0\r\ncreate-subdirectories=0\r\n";

TEST(DisplaySettingsFileTest, MissingOrDotFileIsResetAndAnyOtherIsKept) {
  struct Case {
    const char* what;
    const char* content;  // nullptr: no file
    const char* after;
    short display_paths_after;
  };
  const Case cases[] = {
      {"missing", nullptr, kAllOff, 0},
      {"dot", ".\r\ndisplay-paths=1\r\n", kAllOff, 0},
      {"usable", "display-paths=1\r\n", "display-paths=1\r\n", 1},
      {"empty", "", "", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestFolder folder;
    FileSystem fs;
    if (c.content != nullptr) fs.WriteFile(folder / "ui.ini", c.content);
    DisplaySettings display;
    display.display_paths = 1;
    EnsureDisplaySettingsFile(fs, folder.path(), display);
    EXPECT_EQ(fs.ReadFile(folder / "ui.ini"), c.after);
    EXPECT_EQ(display.display_paths, c.display_paths_after);
  }
}

TEST(DisplaySettingsFileTest, ReadStopsAtABadSwitchAndWritesFailQuietly) {
  TestFolder folder;
  FileSystem fs;
  fs.WriteFile(folder / "ui.ini",
               "display-macros=1\r\nmodified-only=1\r\nskip-read-only=x\r\n"
               "create-subdirectories=1\r\n");
  DisplaySettings display;
  display.display_paths = 1;
  display.create_subdirectories = 0;
  EXPECT_EQ(ThrownDescription([&] { ReadDisplaySettings(fs, folder.path(), display); }),
            "Error reading UI configuration file " + (folder / "ui.ini") +
                ". Invalid integer value for skip-read-only.");
  EXPECT_EQ(display.display_paths, 0);
  EXPECT_EQ(display.display_macros, 1);
  EXPECT_EQ(display.modified_only, 1);
  EXPECT_EQ(display.create_subdirectories, 0);

  fs.SetFaultHook([](FileOp, const std::string&) { return EACCES; });
  EXPECT_NO_THROW(WriteDisplaySettings(fs, folder.path(), display));
  fs.SetFaultHook(nullptr);
  EXPECT_EQ(fs.ReadFile(folder / "ui.ini").substr(0, 17), "display-macros=1\r");
}

}  // namespace
}  // namespace pentrak
