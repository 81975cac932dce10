#include "shell/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "settings/settings_text.h"
#include "shell/generation_commands.h"
#include "testing/workbench_fixture.h"

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

// Every file below the folder with its bytes.
std::map<std::string, std::string> Snapshot(const FileSystem& fs, const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const std::string& name : fs.FilesBelow(folder)) {
    files[name] = fs.ReadFile(folder + "/" + name);
  }
  return files;
}

// Starts the program on a program folder seeded from seed, as a first run does.
void StartOn(Workbench& workbench, const std::string& seed) {
  StartUpOptions options;
  options.seed_folder = seed;
  ASSERT_TRUE(StartUp(workbench, options));
}

void GenerateCurrentProject(Workbench& workbench) {
  GenerationContext context = GenerationContextOf(workbench);
  context.shows_definition = false;
  EXPECT_EQ(RunGeneration(context, kScopeProject).end, RunEnd::kCompleted);
}

TEST(SampleSeedingTest, AFolderSeededFromABuildTreeWithAGeneratedSampleWritesOnlyIntoItself) {
  TestFolder root;
  FileSystem fs;
  const std::string build = root / "build";
  const std::string fresh = root / "fresh";
  std::filesystem::create_directories(build);
  std::filesystem::copy(PENTRAK_SOURCE_DIR "/samples", build + "/samples",
                        std::filesystem::copy_options::recursive);
  ScriptedUserInterface build_ui;
  Workbench build_workbench(build_ui, build);
  StartOn(build_workbench, build);
  GenerateCurrentProject(build_workbench);
  ASSERT_TRUE(fs.FileExists(build + "/overview/index.html"));
  const std::map<std::string, std::string> before = Snapshot(fs, build);

  ScriptedUserInterface ui;
  Workbench workbench(ui, fresh);
  StartOn(workbench, build);
  // Only the shipped sources came along; the project file was written for this folder.
  EXPECT_FALSE(fs.FileExists(fresh + "/overview/index.html"));
  EXPECT_TRUE(fs.FileExists(fresh + "/overview/overview.txt"));
  EXPECT_FALSE(fs.FolderExists(fresh + "/samples/overview"));
  EXPECT_EQ(workbench.project.content_root, fresh + "/overview/");
  EXPECT_EQ(workbench.project.document_root, fresh + "/overview/");
  GenerateCurrentProject(workbench);
  EXPECT_TRUE(fs.FileExists(fresh + "/overview/index.html"));
  EXPECT_TRUE(Snapshot(fs, build) == before) << "the build tree was written to";
}

}  // namespace
}  // namespace pentrak
