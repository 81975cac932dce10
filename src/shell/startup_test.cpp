#include "shell/startup.h"

#include <gtest/gtest.h>

#include "settings/settings_text.h"
#include "shell/shell_test_support.h"

namespace pentrak {
namespace {

class StartUpTest : public ::testing::Test, public WorkbenchFixture {
 protected:
  std::string Options() { return folder / "pentrak.ini"; }
  std::string Sample() { return folder / "overview/Pentrak CMS Overview.web"; }
};

TEST_F(StartUpTest, AFirstRunCreatesTheFilesWithoutAskingAndSaysWhere) {
  StartUpOptions options;
  options.command_line = "/mode=2 /project=a.web";
  ASSERT_TRUE(StartUp(workbench, options));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            "Created " + Options() + " and " + folder / "projects.ini" + " with their defaults.");
  EXPECT_EQ(GetFileSettingValue(fs(), Options(), "maximum-projects", ""), "25");
  EXPECT_EQ(HistoryLines(), std::vector<std::string>{"5|" + Sample() + "|2"});
  EXPECT_EQ(workbench.project.name, "Pentrak CMS Overview (Sample)");
  EXPECT_EQ(workbench.project.max_globals, 2);
  EXPECT_TRUE(workbench.batch.exit_when_done);
  EXPECT_EQ(workbench.batch.project_path, "a.web");
  EXPECT_TRUE(fs().FileExists(folder / "ui.ini"));

  ui.messages.clear();
  ASSERT_TRUE(StartUp(workbench, options));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(StartUpTest, WithAWindowTheFirstRunAsksAndCancelCloses) {
  StartUpOptions options;
  options.create_files_silently = false;
  ui.message_answers = {Answer::kCancel};
  EXPECT_FALSE(StartUp(workbench, options));
  EXPECT_EQ(ui.messages.at(0).title, "Create Default Initialization File");
  EXPECT_FALSE(fs().FileExists(Options()));
}

TEST_F(StartUpTest, AnUnknownHistoryFileClosesTheProgram) {
  fs().WriteLines(folder / "projects.ini", {"4|a.web|2"});
  EXPECT_FALSE(StartUp(workbench, StartUpOptions{}));
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].title, "Project History File Error");
  EXPECT_EQ(ui.messages[1].text, "Created " + Options() + " with their defaults.");
}

}  // namespace
}  // namespace pentrak
