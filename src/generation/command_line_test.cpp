#include "generation/command_line.h"

#include <gtest/gtest.h>

namespace pentrak {
namespace {

constexpr CommandLineRule kWindows = CommandLineRule::kWindows;
constexpr CommandLineRule kPosix = CommandLineRule::kPosix;

TEST(CommandLineTest, ParsesModeProjectCommandAndWindowAndTellsWhenABatchRunIsDue) {
  struct Case {
    CommandLineRule rule;
    const char* command_line;
    bool batch;
    bool exit_when_done;
    const char* project;
    const char* command;
    short window;
  };
  const Case cases[] = {
      {kWindows, "", false, false, "", "", 0},
      {kWindows, "/mode=1 /project=c:\\site\\site.web", true, false, "c:\\site\\site.web", "", 0},
      {kWindows, "/mode=2 /project=c:\\site\\site.web", true, true, "c:\\site\\site.web", "", 0},
      {kWindows, "/mode=3 /project=a.web", false, false, "a.web", "", 0},
      {kWindows, "/mode= /project=a.web", false, false, "a.web", "", 0},
      {kWindows, "/project=a.web", false, false, "a.web", "", 0},
      // A value ends at the next "/".
      {kWindows, "/mode=2 /command=copy a b/y /project=a.web", true, true, "a.web", "copy a b", 0},
      // A later option wins.
      {kWindows, "/mode=2 /project=a.web /mode=1 /project=b.web", true, false, "b.web", "", 0},
      // Unknown options are ignored; text after a value belongs to it.
      {kWindows, "/foo=1 /mode=2 /project=a.web /bar", true, true, "a.web", "", 0},
      {kWindows, "/mode=2 now /project=a.web", false, false, "a.web", "", 0},
      // Blanks inside a path stay; those at its ends go.
      {kWindows, "/project=  c:\\my site\\a.web   /mode=1", true, false, "c:\\my site\\a.web", "",
       0},
      {kWindows, "/window=1", false, false, "", "", 1},
      {kWindows, "/window=2", false, false, "", "", 0},
      // Names and values alike are read lower-cased.
      {kWindows, "/MODE=2 /Project=C:\\Site\\Site.web /COMMAND=Run.bat", true, true,
       "c:\\site\\site.web", "run.bat", 0},
      // On POSIX "/" belongs to the value; only a blank before an option ends it.
      {kPosix, "/mode=2 /project=/srv/a b/site.web /command=/usr/bin/true --x", true, true,
       "/srv/a b/site.web", "/usr/bin/true --x", 0},
      {kPosix, "/project=  /home/me/My Site/a.web   /MODE=1", true, false, "/home/me/My Site/a.web",
       "", 0},
      // An option name inside a value without a blank before it is part of the value.
      {kPosix, "/mode=1 /project=/srv/mode=2/window=1/a.web", true, false,
       "/srv/mode=2/window=1/a.web", "", 0},
      {kPosix, "/mode=2 /project=a.web /bar", true, true, "a.web /bar", "", 0},
      {kPosix, "/mode=2 now /project=a.web /window=1", false, false, "a.web", "", 1},
      {kPosix, "/MODE=2 /Project=/Sites/Site.web /COMMAND=Run.sh", true, true, "/Sites/Site.web",
       "Run.sh", 0},
      // An unknown option is passed over with its value and leaves its neighbours whole.
      {kPosix, "/mode=2 /foo=1 /project=/srv/a.web", true, true, "/srv/a.web", "", 0},
      {kPosix, "/mode=2 /project=/srv/a.web /foo=1", true, true, "/srv/a.web", "", 0},
      {kPosix, "/mode=2 /Foo=/mode=1/window=1 x /project=a.web", true, true, "a.web", "", 0},
      // Only "/", letters and "=" after a blank begin an option; a command keeps the rest.
      {kPosix, "/mode=1 /command=/usr/bin/rsync -a /src/ host:/dst/ /project=a.web", true, false,
       "a.web", "/usr/bin/rsync -a /src/ host:/dst/", 0},
      {kPosix, "/command=tool /x1=2 /a-b=3 /=4 /out /=", false, false, "",
       "tool /x1=2 /a-b=3 /=4 /out /=", 0},
      {kPosix, "/command=tool \"/out=dir\" /window=1", false, false, "", "tool \"/out=dir\"", 1},
  };
  for (const Case& c : cases) {
    BatchSettings settings = ParseCommandLine(c.command_line, c.rule);
    EXPECT_EQ(settings.batch, c.batch) << c.command_line;
    EXPECT_EQ(settings.exit_when_done, c.exit_when_done) << c.command_line;
    EXPECT_EQ(settings.project_path, c.project) << c.command_line;
    EXPECT_EQ(settings.command, c.command) << c.command_line;
    EXPECT_EQ(settings.window_mode, c.window) << c.command_line;
  }

  // A batch run is due for a batch mode with a project option, even an empty one, so that the
  // run says what is wrong.
  EXPECT_TRUE(AsksForBatchRun(ParseCommandLine("/mode=1 /project=a.web")));
  EXPECT_TRUE(AsksForBatchRun(ParseCommandLine("/mode=1 /project=/a.web", kWindows)));
  EXPECT_FALSE(AsksForBatchRun(ParseCommandLine("/project=a.web")));
  EXPECT_FALSE(AsksForBatchRun(ParseCommandLine("/mode=2")));
  EXPECT_TRUE(AsksForBatchRun(ParseCommandLine("/mode=2 /project=  /window=1")));
}

TEST(CommandLineTest, TellsOptionsAndTheFourBatchOptionsFromPaths) {
  struct Case {
    const char* text;
    std::size_t option_length;
    bool batch_option;
  };
  const Case cases[] = {
      {"/mode=2", 6, true},
      {"/Project=/srv/a.web", 9, true},
      {"/modes=2", 7, false},
      {"/foo=1", 5, false},
      {"/mode", 0, false},
      {"mode=2", 0, false},
      {"/=x", 0, false},
      {"", 0, false},
      {"/srv/site/x.web", 0, false},
      {"/srv/a=b/x.web", 0, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OptionLength(c.text), c.option_length) << c.text;
    EXPECT_EQ(BeginsWithBatchOption(c.text), c.batch_option) << c.text;
  }
}

}  // namespace
}  // namespace pentrak
