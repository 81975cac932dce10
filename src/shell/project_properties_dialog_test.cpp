#include "shell/project_properties_dialog.h"

#include <gtest/gtest.h>

#include "generation/generation_run.h"
#include "platform/scripted_user_interface.h"
#include "platform/test_support.h"
#include "settings/project_history.h"
#include "shell/history_commands.h"
#include "shell/startup.h"
#include "shell/workbench.h"

namespace pentrak {
namespace {

const char* const kFieldLeadIn = "Please check the Data you entered into the form. ";

// A started program in a fresh program folder seeded with the installed samples; the history
// holds the sample project only.
class PropertiesDialogTest : public ::testing::Test {
 protected:
  PropertiesDialogTest() {
    StartUpOptions options;
    options.seed_folder = PENTRAK_SOURCE_DIR;
    started_ = StartUp(workbench, options);
    ui.messages.clear();
  }

  void SetUp() override { ASSERT_TRUE(started_); }

  std::string Read(const std::string& path) const { return workbench.fs.ReadFile(path); }
  std::string HistoryFile() const { return Read(HistoryPathOf(workbench)); }

  // A new project named Shop whose content root is typed as <folder>/shop.
  ProjectPropertiesForm NewShop() {
    std::optional<ProjectPropertiesForm> form = OpenNewProject(workbench);
    EXPECT_TRUE(form.has_value());
    form->working.name = "Shop";
    form->working.content_root = folder / "shop";
    LeavePathField(*form, PathField::kContentRoot);
    return *form;
  }

  TestFolder folder;
  ScriptedUserInterface ui;
  Workbench workbench{ui, folder / "home"};

 private:
  bool started_ = false;
};

TEST_F(PropertiesDialogTest, ConfirmingANewProjectSavesItAndMakesItCurrent) {
  std::string sample = SampleProjectPath(workbench.program_folder);
  ProjectPropertiesForm form = NewShop();
  EXPECT_EQ(form.working.document_root, folder / "shop/");
  std::string path = folder / "shop/Shop.web";
  ui.file_choices.push_back(path);

  EXPECT_EQ(ConfirmProjectProperties(workbench, form), DialogState::kClosed);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_FALSE(form.new_project_mode);
  EXPECT_EQ(HistoryFile(), "5|" + sample + "|1\r\n5|" + path + "|2\r\n");
  EXPECT_EQ(workbench.history.current_index, 1);
  EXPECT_EQ(workbench.history.entries[1].name, "Shop");
  EXPECT_EQ(workbench.project.name, "Shop");
  EXPECT_EQ(workbench.project.project_file_path, path);
  EXPECT_EQ(workbench.project.definition_file, "project.txt");
  EXPECT_EQ(Read(folder / "shop/index.par"), Read(folder / "home/samples/index.par"));
  EXPECT_EQ(Read(folder / "shop/templates/general.tpl"),
            Read(folder / "home/samples/templates/general.tpl"));
  EXPECT_TRUE(workbench.fs.FileExists(folder / "shop/images/pentrak.gif"));
  std::string saved = Read(path);
  EXPECT_NE(saved.find("\r\nname=Shop\r\n"), std::string::npos);
  EXPECT_NE(saved.find("\r\ncontent-root=" + folder / "shop/" + "\r\n"), std::string::npos);
}

TEST_F(PropertiesDialogTest, ANewProjectGeneratesStraightAway) {
  ProjectPropertiesForm form = NewShop();
  ui.file_choices.push_back(folder / "shop/Shop.web");
  ASSERT_EQ(ConfirmProjectProperties(workbench, form), DialogState::kClosed);

  GenerationContext context = GenerationContextOf(workbench);
  GenerationRun run = RunGeneration(context, kScopeProject);
  EXPECT_EQ(run.end, RunEnd::kCompleted);
  EXPECT_EQ(run.errors, 0);
  EXPECT_EQ(run.missing_files, 0);
  EXPECT_EQ(run.generated, 2);
  std::string index = Read(folder / "shop/index.html");
  EXPECT_NE(index.find("<title>Welcome - My New Site</title>"), std::string::npos);
  EXPECT_EQ(index.find("[@"), std::string::npos);
}

TEST_F(PropertiesDialogTest, ACancelledSaveDialogKeepsTheDialogOpenAndTheSamples) {
  std::string history = HistoryFile();
  ProjectPropertiesForm form = NewShop();
  ui.file_choices.push_back(std::nullopt);
  EXPECT_EQ(ConfirmProjectProperties(workbench, form), DialogState::kOpen);
  EXPECT_TRUE(form.new_project_mode);
  EXPECT_TRUE(workbench.fs.FileExists(folder / "shop/index.par"));
  EXPECT_FALSE(workbench.fs.FileExists(folder / "shop/Shop.web"));
  EXPECT_EQ(HistoryFile(), history);
  EXPECT_EQ(workbench.history.last_index, 0);
}

TEST_F(PropertiesDialogTest, FailuresAreShownAndSaveNothing) {
  std::string history = HistoryFile();
  std::string sample = Read(workbench.project.project_file_path);

  ProjectPropertiesForm form = NewShop();
  form.working.tags.wildcard = "@";
  EXPECT_EQ(ConfirmProjectProperties(workbench, form), DialogState::kOpen);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Field Error");
  EXPECT_EQ(ui.messages[0].text,
            std::string(kFieldLeadIn) +
                "Macro Tags cannot be substrings of one another. Please double-check all of the "
                "Macro Tags and Advanced Macro Tags that you have entered.");
  EXPECT_EQ(ui.messages[0].buttons, Buttons::kOk);
  EXPECT_EQ(form.tab, PropertiesTab::kMacros);

  form.working.tags.wildcard = "*";
  form.limits.max_docs = "0";
  EXPECT_EQ(ConfirmProjectProperties(workbench, form), DialogState::kOpen);
  EXPECT_EQ(ui.messages.back().text,
            std::string(kFieldLeadIn) +
                "The maximum number of Documents per Folder must be greater than 0.");
  EXPECT_EQ(form.tab, PropertiesTab::kMemoryManagement);

  form.limits.max_docs = "fifty";
  EXPECT_EQ(ConfirmProjectProperties(workbench, form), DialogState::kOpen);
  EXPECT_EQ(ui.messages.back().title, "Error");

  // A content root under a plain file cannot be created: the sample error, and no file chooser.
  form.limits.max_docs = "50";
  workbench.fs.WriteFile(folder / "plain", "");
  form.working.content_root = folder / "plain/shop/";
  form.working.document_root = "";
  ui.file_choices.push_back(folder / "never.web");
  EXPECT_EQ(ConfirmProjectProperties(workbench, form), DialogState::kOpen);
  EXPECT_EQ(ui.messages.back().text,
            "Error # 10019 was generated by PentrakCMS\rError creating sample project files.");
  EXPECT_EQ(ui.file_choices.size(), 1u);

  EXPECT_FALSE(workbench.fs.FolderExists(folder / "shop"));
  EXPECT_EQ(HistoryFile(), history);
  EXPECT_EQ(Read(workbench.project.project_file_path), sample);
  EXPECT_EQ(workbench.project.name, "Pentrak CMS Overview (Sample)");
}

TEST_F(PropertiesDialogTest, EditingTheCurrentProjectRewritesItsFile) {
  std::string path = workbench.project.project_file_path;
  ProjectPropertiesForm form = OpenProjectProperties(workbench);
  EXPECT_FALSE(form.new_project_mode);
  form.working.name = "Overview";
  form.limits.max_folders = "9";
  EXPECT_EQ(ConfirmProjectProperties(workbench, form), DialogState::kClosed);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(workbench.project.name, "Overview");
  EXPECT_EQ(workbench.project.max_folders, 9);
  EXPECT_EQ(workbench.project.project_file_path, path);
  EXPECT_EQ(workbench.history.last_index, 0);
  EXPECT_EQ(workbench.history.entries[0].name, "Overview");
  EXPECT_NE(Read(path).find("\r\nmax-folders=9\r\n"), std::string::npos);
}

TEST_F(PropertiesDialogTest, CancelChangesNothing) {
  std::string path = workbench.project.project_file_path;
  std::string file = Read(path);
  std::string history = HistoryFile();
  for (bool new_project : {false, true}) {
    ProjectPropertiesForm form =
        new_project ? *OpenNewProject(workbench) : OpenProjectProperties(workbench);
    form.working.name = "Changed";
    form.working.content_root = folder / "shop/";
    ResetMacroTags(form);
    EXPECT_EQ(CancelProjectProperties(form), DialogState::kClosed);
    EXPECT_FALSE(form.new_project_mode);
  }
  EXPECT_EQ(workbench.project.name, "Pentrak CMS Overview (Sample)");
  EXPECT_EQ(workbench.project.project_file_path, path);
  EXPECT_EQ(Read(path), file);
  EXPECT_EQ(HistoryFile(), history);
  EXPECT_FALSE(workbench.fs.FolderExists(folder / "shop"));
}

TEST_F(PropertiesDialogTest, AFullHistoryRefusesANewProject) {
  ResizeProjectHistory(workbench.history, 1);
  EXPECT_FALSE(OpenNewProject(workbench).has_value());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Error");
  EXPECT_EQ(ui.messages[0].text,
            "Error # 10003 was generated by PentrakCMS\rCould not create new project. Maximum "
            "number of projects exceeded.");
}

}  // namespace
}  // namespace pentrak
