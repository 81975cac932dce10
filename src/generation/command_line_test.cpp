#include "generation/command_line.h"

#include <gtest/gtest.h>

namespace pentrak {
namespace {

TEST(CommandLineTest, ParsesModeProjectCommandAndWindow) {
  struct Case {
    const char* command_line;
    bool batch;
    bool exit_when_done;
    const char* project;
    const char* command;
    short window;
  };
  const Case cases[] = {
      {"", false, false, "", "", 0},
      {"/mode=1 /project=c:\\site\\site.web", true, false, "c:\\site\\site.web", "", 0},
      {"/mode=2 /project=c:\\site\\site.web", true, true, "c:\\site\\site.web", "", 0},
      {"/mode=3 /project=a.web", false, false, "a.web", "", 0},
      {"/mode= /project=a.web", false, false, "a.web", "", 0},
      {"/project=a.web", false, false, "a.web", "", 0},
      // A value ends at the next "/".
      {"/mode=2 /command=copy a b/y /project=a.web", true, true, "a.web", "copy a b", 0},
      // A later option wins.
      {"/mode=2 /project=a.web /mode=1 /project=b.web", true, false, "b.web", "", 0},
      // Unknown options are ignored; text after a value belongs to it.
      {"/foo=1 /mode=2 /project=a.web /bar", true, true, "a.web", "", 0},
      {"/mode=2 now /project=a.web", false, false, "a.web", "", 0},
      // Blanks inside a path stay; those at its ends go.
      {"/project=  c:\\my site\\a.web   /mode=1", true, false, "c:\\my site\\a.web", "", 0},
      {"/window=1", false, false, "", "", 1},
      {"/window=2", false, false, "", "", 0},
      // Option names ignore case; the values keep it.
      {"/MODE=2 /Project=C:\\Site\\Site.web /COMMAND=Run.bat", true, true, "C:\\Site\\Site.web",
       "Run.bat", 0},
  };
  for (const Case& c : cases) {
    BatchSettings settings = ParseCommandLine(c.command_line);
    EXPECT_EQ(settings.batch, c.batch) << c.command_line;
    EXPECT_EQ(settings.exit_when_done, c.exit_when_done) << c.command_line;
    EXPECT_EQ(settings.project_path, c.project) << c.command_line;
    EXPECT_EQ(settings.command, c.command) << c.command_line;
    EXPECT_EQ(settings.window_mode, c.window) << c.command_line;
  }
}

TEST(CommandLineTest, BatchIsDueOnlyForABatchModeWithAProject) {
  EXPECT_TRUE(StartBatchTimer(ParseCommandLine("/mode=1 /project=a.web")));
  EXPECT_FALSE(StartBatchTimer(ParseCommandLine("/project=a.web")));
  EXPECT_FALSE(StartBatchTimer(ParseCommandLine("/mode=2")));
}

}  // namespace
}  // namespace pentrak
