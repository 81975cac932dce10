#include "settings/project_history.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "platform/file_system.h"
#include "settings/project_settings.h"
#include "settings/settings_text.h"
#include "testing/scripted_user_interface.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

class ProjectHistoryTest : public ::testing::Test {
 protected:
  ProjectHistoryTest() { ResizeProjectHistory(history, 25); }

  // A project file holding only its name.
  std::string Project(const std::string& file, const std::string& name) {
    fs.WriteLines(folder / file, {"name=" + name});
    return folder / file;
  }
  void WriteHistoryFile(const std::vector<std::string>& lines) { fs.WriteLines(path, lines); }
  std::string HistoryFileBytes() { return fs.ReadFile(path); }
  bool Check(bool importing = false) {
    return CheckProjectHistoryFile(ui, fs, path, folder.path(), importing, history);
  }
  void Read() { ReadProjectHistory(fs, path, "", history); }

  TestFolder folder;
  FileSystem fs;
  ScriptedUserInterface ui;
  std::string path = folder / "projects.ini";
  ProjectHistory history;
};

TEST_F(ProjectHistoryTest, TheLastCurrentEntryWinsAndANamelessProjectIsDroppedOnTheNextWrite) {
  std::string a = Project("a.web", "Shop");
  std::string b = Project("b.web", "Blog");
  WriteHistoryFile({"5|" + a + "|1", "  5 | " + b + " | 2 ", "5|" + a + "|2|extra"});
  Read();
  EXPECT_EQ(history.current_index, 2);
  EXPECT_EQ(history.entries[1].project_file, b);
  EXPECT_EQ(history.entries[1].name, "Blog");

  std::string nameless = Project("nameless.web", "");
  WriteHistoryFile({"5|" + a + "|1", "5|" + folder / "deleted.web" + "|2", "5|" + nameless + "|1"});
  Read();
  EXPECT_EQ(history.entries[1].status, kHistoryDropped);
  EXPECT_EQ(history.current_index, 0);  // no entry is current any more: the first one becomes it
  WriteProjectHistory(fs, path, history);
  EXPECT_EQ(HistoryFileBytes(), "5|" + a + "|1\r\n");
}

TEST_F(ProjectHistoryTest, TheCheckAcceptsVersionFiveOrAnEmptyFileAndResetsADot) {
  struct Case {
    std::string first_line;
    bool accepted;
  };
  const Case cases[] = {{"5|a.web|2", true},  {"5.0|a.web|2", true}, {" 5 |a.web|2", true},
                        {"4|a.web|2", false}, {"50|a.web|2", false}, {"|a.web|2", false}};
  for (const Case& c : cases) {
    ui.messages.clear();
    WriteHistoryFile({c.first_line, "5|b.web|1"});
    EXPECT_EQ(Check(), c.accepted) << c.first_line;
    if (c.accepted) {
      EXPECT_TRUE(ui.messages.empty()) << c.first_line;
    } else {
      ASSERT_EQ(ui.messages.size(), 1u) << c.first_line;
      EXPECT_EQ(ui.messages[0].title, "Project History File Error");
      EXPECT_EQ(ui.messages[0].text,
                "Pentrak does not recognize your Project History File. To correct this error, "
                "rename " +
                    path + " and restart the program.");
    }
  }
  ui.messages.clear();
  EXPECT_FALSE(Check(true));
  EXPECT_EQ(ui.messages[0].text,
            "Pentrak does not recognize your Project History File. Please make sure that the "
            "file you are attempting to import is a valid Project History File.");

  ui.messages.clear();
  WriteHistoryFile({".", "5|b.web|1"});
  EXPECT_TRUE(Check());
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(HistoryFileBytes(), "5|" + folder / "overview/Pentrak CMS Overview.web" + "|2\r\n");

  // An empty file passes and gives an empty history.
  fs.WriteFile(path, "");
  history.current_index = 4;
  EXPECT_TRUE(Check());
  Read();
  EXPECT_EQ(history.last_index, -1);
  EXPECT_EQ(history.current_index, -1);
}

TEST_F(ProjectHistoryTest, AMissingFileIsCreatedOnlyWhenTheUserAgrees) {
  ui.message_answers = {Answer::kCancel};
  EXPECT_FALSE(Check());
  EXPECT_FALSE(fs.FileExists(path));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Create Default Project History File");
  EXPECT_EQ(ui.messages[0].text,
            "The Project History file could not be found.\rA default Project History file will "
            "be created at " +
                path +
                ".\rPress OK to create the file or press Cancel to exit "
                "the program.");
  EXPECT_EQ(ui.messages[0].buttons, Buttons::kOkCancel);

  ui.message_answers = {Answer::kOk};
  EXPECT_TRUE(Check(true));
  EXPECT_NE(ui.messages[1].text.find("or press Cancel to select another option."),
            std::string::npos);
  EXPECT_EQ(HistoryFileBytes(), "5|" + folder / "overview/Pentrak CMS Overview.web" + "|2\r\n");
}

TEST_F(ProjectHistoryTest, OnlyMaximumProjectsLinesAreRead) {
  ResizeProjectHistory(history, 3);
  std::vector<std::string> lines;
  for (const char* name : {"a", "b", "c", "d", "e"}) {
    lines.push_back("5|" + Project(std::string(name) + ".web", name) + "|1");
  }
  WriteHistoryFile(lines);
  Read();
  EXPECT_EQ(history.last_index, 2);
  EXPECT_EQ(history.entries[2].name, "c");
  WriteProjectHistory(fs, path, history);
  EXPECT_EQ(fs.ReadLines(path), std::vector<std::string>(lines.begin(), lines.begin() + 3));
}

TEST_F(ProjectHistoryTest, AStatusThatIsNotANumberStopsTheRead) {
  std::string a = Project("a.web", "Shop");
  for (const std::string& bad : {"5|" + a, "5|" + a + "|", "5|" + a + "|x"}) {
    history.current_index = 7;
    WriteHistoryFile({"5|" + a + "|1", bad});
    EXPECT_EQ(ThrownDescription([&] {
                Read();
              }).rfind("Error reading Project History file " + path + ". ", 0),
              0u)
        << bad;
    EXPECT_EQ(history.last_index, -1);
    EXPECT_EQ(history.current_index, 7);
  }
}

TEST_F(ProjectHistoryTest, TheSampleProjectIsRecreatedOnlyWithoutAName) {
  ProjectSettings project;
  EnsureSampleProject(ui, fs, folder.path(), project);
  std::string sample = folder / "overview/Pentrak CMS Overview.web";
  std::string root = folder / "overview/";
  EXPECT_EQ(project.project_file_path, sample);
  EXPECT_EQ(GetFileSettingValue(fs, sample, "name", ""), "Pentrak CMS Overview (Sample)");
  EXPECT_EQ(GetFileSettingValue(fs, sample, "document-root", ""), root);
  EXPECT_EQ(GetFileSettingValue(fs, sample, "content-root", ""), root);
  EXPECT_EQ(GetFileSettingValue(fs, sample, "definition-file", ""), root + "overview.txt");
  EXPECT_EQ(GetFileSettingValue(fs, sample, "max-globals", ""), "2");
  EXPECT_EQ(GetFileSettingValue(fs, sample, "max-docs", ""), "50");

  fs.WriteLines(sample, {"name=Renamed"});
  EnsureSampleProject(ui, fs, folder.path(), project);
  EXPECT_EQ(fs.ReadLines(sample), std::vector<std::string>{"name=Renamed"});
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace pentrak
