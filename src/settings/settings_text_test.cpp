#include "settings/settings_text.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "platform/file_system.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

TEST(SettingsTextTest, LookupFindsOnlyWholeKeysAtTheStartOfALine) {
  struct Case {
    const char* text;
    const char* key;
    const char* expected;
  };
  const Case cases[] = {
      {"name=Site\r\nx=1\r\n", "name", "Site"},  // first line
      {"x=1\r\nname=Site", "name", "Site"},      // last line without a line end
      {"", "name", "(default)"},
      {"x=1\r\n", "name", "(default)"},
      {"name = Site\r\n", "name", "(default)"},
      {" name=Site\r\n", "name", "(default)"},
      {"Name=Site\r\n", "name", "(default)"},
      {"name=A\r\nname=B\r\n", "name", "A"},
      {"name=\r\n", "name", ""},
      {"delete-line-exceptions=ROOT_DIR=1\r\n", "delete-line-exceptions", "ROOT_DIR=1"},
      {"name=Site  \r\n", "name", "Site  "},
      {"name=\tA B\r\n", "name", "\tA B"},
      {"ini-file-version=5\r\n", "version", "(default)"},
      {"custom-application-caption=Cap\r\n", "custom-application", "(default)"},
      {"custom-application-caption=Cap\r\ncustom-application=run\r\n", "custom-application", "run"},
      {"xname=Site\r\nname=Real\r\n", "name", "Real"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetSettingValue(c.text, c.key, "(default)"), c.expected) << c.text;
  }
}

TEST(SettingsTextTest, SettingLineDropsBlanksAroundTheValueOnly) {
  EXPECT_EQ(MakeSettingLine("editor", "  notepad.exe "), "editor=notepad.exe");
  EXPECT_EQ(MakeSettingLine("name", "Site  "), "name=Site");
  EXPECT_EQ(MakeSettingLine("name", ""), "name=");
  EXPECT_EQ(MakeSettingLine("x", "\ta=b\t"), "x=\ta=b\t");
}

TEST(SettingsTextTest, LoadEndsEveryLineWithCrLfAndAFileValueNeedsAReadableFile) {
  TestFolder folder;
  FileSystem fs;
  fs.WriteFile(folder / "a.ini", "a=1\nb=2\r\nc=3");
  fs.WriteFile(folder / "empty.ini", "");
  EXPECT_EQ(LoadSettingsText(fs, folder / "a.ini"), "a=1\r\nb=2\r\nc=3\r\n");
  EXPECT_EQ(LoadSettingsText(fs, folder / "empty.ini"), "");
  EXPECT_THROW(LoadSettingsText(fs, folder / "missing.ini"), Error);

  // A value read from a file is empty when the file cannot be opened.
  fs.WriteFile(folder / "site.web", "name=Site\r\ndefinition-file=site.txt\r\n");
  const std::string current = folder / "site.web";
  EXPECT_EQ(GetFileSettingValue(fs, folder / "missing.web", "name", current), "");
  EXPECT_EQ(GetFileSettingValue(fs, current, "definition-file", ""), "site.txt");
  EXPECT_EQ(GetFileSettingValue(fs, "", "name", current), "Site");
  EXPECT_EQ(GetFileSettingValue(fs, "", "name", ""), "");
  EXPECT_EQ(GetFileSettingValue(fs, current, "max-docs", ""), "");
}

TEST(SettingsTextTest, IntegersAreSigned16BitDecimal) {
  EXPECT_EQ(SettingInteger("-1", "max-docs"), -1);
  EXPECT_EQ(SettingInteger("32767", "max-docs"), 32767);
  for (const char* bad : {"abc", "", "32768", "5.0"}) {
    EXPECT_EQ(ThrownDescription([&] { SettingInteger(bad, "max-docs"); }),
              "Invalid integer value for max-docs")
        << bad;
  }
}

}  // namespace
}  // namespace pentrak
