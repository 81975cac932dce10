#include "shell/option_import_wizard.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "settings/program_options_file.h"
#include "testing/workbench_fixture.h"

namespace pentrak {
namespace {

// A started program in <folder>/home, and another installation in <folder>/old whose options
// name the editor "vim" and whose history, beside them, knows one project "Old Site".
struct Installations : StartedProgram {
  Installations() {
    fs.CreateFolderPath(folder / "old/");
    fs.WriteFile(folder / "old/site.web", "name=Old Site\r\n");
    fs.WriteFile(folder / "old/projects.ini", "5|" + folder / "old/site.web" + "|2\r\n");
    ProgramOptions old;
    SetProgramOptionDefaults(old, folder / "old");
    old.editor = "vim";
    old.project_history_file = folder / "old/projects.ini";
    WriteProgramOptions(fs, folder / "old", folder / "old/pentrak.ini", old);
    own_options = fs.ReadFile(folder / "home/pentrak.ini");
    own_history = fs.ReadFile(folder / "home/projects.ini");
  }

  // The wizard past step 1 with the old options.
  OptionImportWizard AtStepTwo() {
    OptionImportWizard wizard = OpenOptionImportWizard(workbench);
    wizard.options_path = folder / "old/pentrak.ini";
    EXPECT_TRUE(ImportOptionsNext(workbench, wizard));
    return wizard;
  }

  const FileSystem& fs = workbench.fs;
  std::string own_options;
  std::string own_history;
};

TEST(OptionImportWizardTest, NextRefusesFilesThatAreNotProgramOptions) {
  Installations in;
  ASSERT_TRUE(in.started);
  in.fs.WriteFile(in.folder / "dot.ini", ".\r\n");
  // The messages themselves are the options file check's.
  for (const char* name : {"none.ini", "dot.ini"}) {
    OptionImportWizard wizard = OpenOptionImportWizard(in.workbench);
    wizard.options_path = in.folder / name;
    in.ui.messages.clear();
    EXPECT_FALSE(ImportOptionsNext(in.workbench, wizard));
    EXPECT_EQ(wizard.step, ImportStep::kOptionsFile);
    EXPECT_EQ(in.ui.messages.size(), 1u) << name;
  }
  EXPECT_EQ(in.fs.ReadFile(in.folder / "dot.ini"), ".\r\n");
  EXPECT_EQ(in.fs.ReadFile(in.folder / "home/pentrak.ini"), in.own_options);
}

TEST(OptionImportWizardTest, EachHistoryChoiceOnFinish) {
  struct Case {
    HistoryChoice choice;
    const char* history_file;  // below the test folder
    const char* own_history;   // expected content of home/projects.ini: old, other or own
    const char* current;       // the current project afterwards
  };
  const Case cases[] = {
      {HistoryChoice::kImportNamed, "home/projects.ini", "old", "Old Site"},
      {HistoryChoice::kImportOther, "home/projects.ini", "other", "Other Site"},
      {HistoryChoice::kKeepNamed, "old/projects.ini", "own", "Old Site"},
      {HistoryChoice::kUseOwn, "home/projects.ini", "own", "Pentrak CMS Overview (Sample)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.choice));
    Installations in;
    ASSERT_TRUE(in.started);
    in.fs.CreateFolderPath(in.folder / "other/");
    in.fs.WriteFile(in.folder / "other/site.web", "name=Other Site\r\n");
    in.fs.WriteFile(in.folder / "other/projects.ini",
                    "5|" + in.folder / "other/site.web" + "|2\r\n");
    OptionImportWizard wizard = in.AtStepTwo();
    wizard.choice = c.choice;
    if (c.choice == HistoryChoice::kImportOther)
      wizard.other_history_path = in.folder / "other/projects.ini";

    EXPECT_TRUE(ImportOptionsFinish(in.workbench, wizard));
    EXPECT_TRUE(in.ui.messages.empty());
    std::string expected_history =
        std::string(c.own_history) == "own"
            ? in.own_history
            : in.fs.ReadFile(in.folder / (std::string(c.own_history) + "/projects.ini"));
    EXPECT_EQ(in.fs.ReadFile(in.folder / "home/projects.ini"), expected_history);
    std::string saved = in.fs.ReadFile(in.folder / "home/pentrak.ini");
    EXPECT_NE(saved.find("\r\neditor=vim\r\n"), std::string::npos);
    EXPECT_NE(saved.find("\r\nproject-file=" + in.folder / c.history_file + "\r\n"),
              std::string::npos);
    EXPECT_EQ(in.workbench.options.editor, "vim");
    EXPECT_EQ(in.workbench.options.project_history_file, in.folder / c.history_file);
    EXPECT_EQ(in.workbench.project.name, c.current);
  }
}

TEST(OptionImportWizardTest, CancelOrAFailedCopyLeavesEverythingAsItWas) {
  Installations in;
  ASSERT_TRUE(in.started);
  ProgramOptions before = in.workbench.options;
  OptionImportWizard wizard = in.AtStepTwo();
  EXPECT_EQ(wizard.imported.editor, "vim");
  EXPECT_EQ(wizard.choice, HistoryChoice::kImportNamed);
  // Up to Finish nothing of the program has changed: Cancel just closes the wizard.
  EXPECT_EQ(in.workbench.options.editor, before.editor);
  EXPECT_EQ(in.workbench.history.entries.size(), static_cast<std::size_t>(before.maximum_projects));

  in.ui.file_choices = {std::nullopt, in.folder / "missing.ini"};
  BrowseImportedHistoryFile(in.workbench, wizard);
  EXPECT_EQ(wizard.choice, HistoryChoice::kImportNamed);
  BrowseImportedHistoryFile(in.workbench, wizard);
  EXPECT_EQ(wizard.choice, HistoryChoice::kImportOther);
  EXPECT_FALSE(ImportOptionsFinish(in.workbench, wizard));
  ASSERT_EQ(in.ui.messages.size(), 1u);
  EXPECT_EQ(in.ui.messages[0].text,
            "Error # 10000 was generated by PentrakCMS\rError copying Project History file " +
                in.folder / "missing.ini" + " to " + in.folder / "home/projects.ini" + ". " +
                std::strerror(ENOENT) + ".\rPlease check the paths and try again.");
  EXPECT_EQ(in.fs.ReadFile(in.folder / "home/pentrak.ini"), in.own_options);
  EXPECT_EQ(in.fs.ReadFile(in.folder / "home/projects.ini"), in.own_history);
  EXPECT_EQ(in.workbench.options.editor, before.editor);
}

TEST(OptionImportWizardTest, DecliningANewHistoryKeepsTheWizardOpenWithTheNewOptions) {
  Installations in;
  ASSERT_TRUE(in.started);
  in.fs.RemoveFile(in.folder / "home/projects.ini");
  OptionImportWizard wizard = in.AtStepTwo();
  wizard.choice = HistoryChoice::kUseOwn;
  in.ui.message_answers.push_back(Answer::kCancel);
  EXPECT_FALSE(ImportOptionsFinish(in.workbench, wizard));
  ASSERT_EQ(in.ui.messages.size(), 1u);
  EXPECT_EQ(in.ui.messages[0].title, "Create Default Project History File");
  EXPECT_FALSE(in.fs.FileExists(in.folder / "home/projects.ini"));
  EXPECT_NE(in.fs.ReadFile(in.folder / "home/pentrak.ini").find("\r\neditor=vim\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace pentrak
