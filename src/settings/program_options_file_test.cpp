#include "settings/program_options_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <optional>

#include "platform/error.h"
#include "platform/file_system.h"
#include "settings/program_options.h"
#include "testing/scripted_user_interface.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

// A first run's options file for a program folder; the applications are this platform's.
std::string FirstRunFile(const std::string& program_folder) {
  return "ini-file-version=5\r\neditor=xdg-open\r\nbrowser=xdg-open\r\nimage-editor=xdg-open\r\n"
         "xml-editor=\r\ncustom-application=\r\ncustom-application-caption=\r\n"
         "custom-application2=\r\ncustom-application-caption2=\r\ncustom-application3=\r\n"
         "custom-application-caption3=\r\nbrowse-folder1=\r\nenable-default-drive=0\r\n"
         "default-drive=\r\nenable-content-file-filter=0\r\ncontent-file-filter=\r\n"
         "enable-logging=1\r\ncustom-caption1=\r\ncustom-command1=\r\ncustom-caption2=\r\n"
         "custom-command2=\r\ncustom-caption3=\r\ncustom-command3=\r\ncustom-caption4=\r\n"
         "custom-command4=\r\ncustom-caption5=\r\ncustom-command5=\r\ncustom-caption6=\r\n"
         "custom-command6=\r\ndocuments-default-action=0\r\nmaximum-projects=25\r\n"
         "project-file=" +
         program_folder +
         "/projects.ini\r\nfast-file-system=1\r\npost-generate-refresh=1\r\n"
         "display-all-macros=1\r\nshow-macro-tags=0\r\nresizable-border=0\r\neditor-options=\r\n"
         "sort-folders=0\r\nlarge-display=0\r\neditor-options-add-space=1\r\n"
         "ignore-generation-errors=0\r\nignore-missing-file-errors=0\r\n"
         "check-external-links=0\r\nlink-cache-hours=24\r\n";
}

enum class Shown { kNothing, kFirstRun, kOpenError, kFileError, kMismatch };

// The message a check shows, for the file it checked and the program folder's default file.
ScriptedUserInterface::Message ExpectedMessage(Shown shown, const std::string& file,
                                               const std::string& default_file) {
  switch (shown) {
    case Shown::kFirstRun:
      return {"Create Default Initialization File",
              "This appears to be the first time that you are running Pentrak. A default program "
              "initialization file will be created at " +
                  file +
                  ". Press OK to create the initialization file or press Cancel to exit the "
                  "program.",
              Icon::kQuestion, Buttons::kOkCancel};
    case Shown::kOpenError:
      return {"File Open Error",
              "Error opening Program Options file at " + file + ". Check the path and try again.",
              Icon::kNone, Buttons::kOk};
    case Shown::kFileError:
      return {"File Error",
              "Pentrak does not recognize the Program Options file at " + file +
                  ".\rCheck the path and try again.",
              Icon::kNone, Buttons::kOk};
    case Shown::kMismatch:
      return {"Initialization File Version Mismatch",
              "Pentrak does not recognize your initialization file. To correct this error, "
              "rename " +
                  default_file +
                  " and restart the program. This will reset all program configuration "
                  "variables to default values.",
              Icon::kNone, Buttons::kOk};
    case Shown::kNothing:
      break;
  }
  return {};
}

TEST(ProgramOptionsFileTest, CheckAnswersEveryKindOfFile) {
  enum class After { kUnchanged, kFirstRun, kAbsent };
  struct Case {
    const char* what;
    std::optional<std::string> content;  // nothing: no file
    bool importing;
    Answer answer;
    bool result;
    Shown shown;
    After after;
  };
  const Case cases[] = {
      {"missing, OK", std::nullopt, false, Answer::kOk, true, Shown::kFirstRun, After::kFirstRun},
      {"missing, Cancel", std::nullopt, false, Answer::kCancel, false, Shown::kFirstRun,
       After::kAbsent},
      {"missing, importing", std::nullopt, true, Answer::kOk, false, Shown::kOpenError,
       After::kAbsent},
      {"5", "ini-file-version=5\r\neditor=vi\r\n", false, Answer::kOk, true, Shown::kNothing,
       After::kUnchanged},
      {"5.0", "ini-file-version=5.0\r\n", false, Answer::kOk, true, Shown::kNothing,
       After::kUnchanged},
      {"version=5", "version=5\r\n", false, Answer::kOk, true, Shown::kNothing, After::kUnchanged},
      {"5.0, importing", "ini-file-version=5.0\r\n", true, Answer::kOk, true, Shown::kNothing,
       After::kUnchanged},
      {"version on line 2", "editor=vi\r\nini-file-version=5\r\n", false, Answer::kOk, false,
       Shown::kMismatch, After::kUnchanged},
      {"version 4", "ini-file-version=4\r\n", false, Answer::kOk, false, Shown::kMismatch,
       After::kUnchanged},
      {"empty", "", false, Answer::kOk, false, Shown::kMismatch, After::kUnchanged},
      {"dot", ".\r\neditor=vi\r\n", false, Answer::kOk, true, Shown::kNothing, After::kFirstRun},
      {"version 4, importing", "ini-file-version=4\r\n", true, Answer::kOk, false,
       Shown::kFileError, After::kUnchanged},
      {"dot, importing", ".\r\n", true, Answer::kOk, false, Shown::kFileError, After::kUnchanged},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestFolder folder;
    FileSystem fs;
    ScriptedUserInterface ui;
    ui.message_answers.push_back(c.answer);
    const std::string program_folder = folder.path();
    const std::string default_file = folder / "pentrak.ini";
    // An import names another installation's file; start-up passes an empty path.
    const std::string file = c.importing ? folder / "other.ini" : default_file;
    if (c.content) fs.WriteFile(file, *c.content);
    ProgramOptions options;

    EXPECT_EQ(CheckProgramOptionsFile(ui, fs, program_folder, c.importing ? file : "", c.importing,
                                      options),
              c.result);

    ASSERT_EQ(ui.messages.size(), c.shown == Shown::kNothing ? 0u : 1u);
    if (c.shown != Shown::kNothing) {
      ScriptedUserInterface::Message expected = ExpectedMessage(c.shown, file, default_file);
      EXPECT_EQ(ui.messages[0].title, expected.title);
      EXPECT_EQ(ui.messages[0].text, expected.text);
      EXPECT_EQ(ui.messages[0].icon, expected.icon);
      EXPECT_EQ(ui.messages[0].buttons, expected.buttons);
    }
    switch (c.after) {
      case After::kUnchanged:
        EXPECT_EQ(fs.ReadFile(file), *c.content);
        break;
      case After::kFirstRun:
        EXPECT_EQ(fs.ReadFile(default_file), FirstRunFile(program_folder));
        EXPECT_EQ(options.project_history_file, program_folder + "/projects.ini");
        break;
      case After::kAbsent:
        EXPECT_FALSE(fs.FileExists(default_file));
        break;
    }
  }
}

TEST(ProgramOptionsFileTest, FailedFirstRunWriteIsReportedAndStopsTheStart) {
  TestFolder folder;
  FileSystem fs;
  fs.SetFaultHook([](FileOp op, const std::string&) { return op == FileOp::kWrite ? EROFS : 0; });
  ScriptedUserInterface ui;
  ProgramOptions options;
  EXPECT_FALSE(CheckProgramOptionsFile(ui, fs, folder.path(), "", false, options));
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1].title, "Error");
  EXPECT_EQ(ui.messages[1].text,
            "Error # 30 was generated by PentrakCMS\rError writing to "
            "Program Data file " +
                (folder / "pentrak.ini") + ". Read-only file system.");
}

TEST(ProgramOptionsFileTest, CustomEntriesAndTheHistoryPathRoundTrip) {
  TestFolder folder;
  FileSystem fs;
  const std::string path = folder / "pentrak.ini";
  fs.WriteFile(path,
               "ini-file-version=5\r\ncustom-application=run1\r\n"
               "custom-application-caption=Cap1\r\ncustom-application3=run3\r\n"
               "custom-application-caption3=Cap3\r\ncustom-caption1=C1\r\n"
               "custom-command1=R1\r\ncustom-command6=R6\r\nproject-file=\r\n"
               "editor-options=+%LINE% %FILE%\r\n");
  ProgramOptions read;
  ReadProgramOptions(fs, folder.path(), "", read);
  EXPECT_TRUE((read.custom_applications[0] == CustomApplication{"Cap1", "run1"}));
  EXPECT_TRUE((read.custom_applications[2] == CustomApplication{"Cap3", "run3"}));
  EXPECT_TRUE((read.custom_options[0] == CustomOption{"C1", "R1"}));
  EXPECT_TRUE((read.custom_options[5] == CustomOption{"", "R6"}));
  EXPECT_EQ(read.project_history_file, folder / "projects.ini");
  EXPECT_EQ(read.editor_options, "+%LINE% %FILE%");
  EXPECT_EQ(read.enable_logging, 1);
  EXPECT_EQ(read.maximum_projects, 25);

  const std::string copy = folder / "copy.ini";
  WriteProgramOptions(fs, folder.path(), copy, read);
  ProgramOptions again;
  ReadProgramOptions(fs, folder.path(), copy, again);
  EXPECT_TRUE(again == read);
}

TEST(ProgramOptionsFileTest, ReadStopsAtABadIntegerInItsOwnOrder) {
  TestFolder folder;
  FileSystem fs;
  const std::string path = folder / "pentrak.ini";
  // maximum-projects is read after the custom options and before the keys that follow it.
  fs.WriteFile(path,
               "ini-file-version=5\r\neditor=ed\r\nenable-logging=0\r\ncustom-command6=R6\r\n"
               "maximum-projects=abc\r\nproject-file=/h.ini\r\nfast-file-system=0\r\n"
               "editor-options=-n\r\n");
  ProgramOptions options;
  options.maximum_projects = 4;
  options.project_history_file = "/old.ini";
  options.fast_file_system = 1;
  options.editor_options = "old";
  options.documents_default_action = 5;
  EXPECT_EQ(
      ThrownDescription([&] { ReadProgramOptions(fs, folder.path(), "", options); }),
      "Error reading Program Data file " + path + ". Invalid integer value for maximum-projects.");
  EXPECT_EQ(options.editor, "ed");
  EXPECT_EQ(options.enable_logging, 0);
  EXPECT_EQ(options.custom_options[5].command, "R6");
  EXPECT_EQ(options.documents_default_action, 0);
  EXPECT_EQ(options.maximum_projects, 4);
  EXPECT_EQ(options.project_history_file, "/old.ini");
  EXPECT_EQ(options.fast_file_system, 1);
  EXPECT_EQ(options.editor_options, "old");

  fs.SetFaultHook([](FileOp, const std::string&) { return ENOSPC; });
  EXPECT_EQ(ThrownDescription([&] { WriteProgramOptions(fs, folder.path(), "", options); }),
            "Error writing to Program Data file " + path + ". No space left on device.");
}

}  // namespace
}  // namespace pentrak
