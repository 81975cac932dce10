#include "settings/work_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_system.h"
#include "settings/program_options.h"
#include "settings/project_settings.h"
#include "testing/scripted_user_interface.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

constexpr char kNote[] =
    "Logging may be disabled. You can enable logging in the Tools->Options screen.\r\n";

struct LogFixture {
  TestFolder folder;
  FileSystem fs;
  ScriptedUserInterface ui;
  ProgramOptions options;
  WorkFiles files;
  LogContext log{files, fs, ui, options};

  LogFixture() { options.enable_logging = 1; }
};

TEST(WorkFilesTest, PathsFollowTheProjectAndMissingFilesAreCreated) {
  struct Case {
    const char* what;
    std::string temporary_files_path;  // relative to the test folder; "" for none
    std::string generated_files_log_file;
    short logging;
    std::string work_folder;  // expected, relative to the test folder
    std::string generated_files_list;
    const char* log_content;
  };
  const Case cases[] = {
      {"defaults", "", "", 1, "/prog/temp/", "/prog/temp/generate.txt", ".\r\n"},
      {"own work folder", "/work/", "", 1, "/work/", "/work/generate.txt", ".\r\n"},
      {"list folder", "", "/lists/", 1, "/prog/temp/", "/lists/generate.txt", ".\r\n"},
      {"list file", "", "/lists/deep/out.txt", 1, "/prog/temp/", "/lists/deep/out.txt", ".\r\n"},
      {"logging off", "", "", 0, "/prog/temp/", "/prog/temp/generate.txt", kNote},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LogFixture f;
    const std::string root = f.folder.path();
    f.options.enable_logging = c.logging;
    ProjectSettings project;
    if (!c.temporary_files_path.empty())
      project.temporary_files_path = root + c.temporary_files_path;
    if (!c.generated_files_log_file.empty()) {
      project.generated_files_log_file = root + c.generated_files_log_file;
    }
    SetWorkFiles(f.log, project, root + "/prog");

    EXPECT_EQ(f.files.log_file, root + c.work_folder + "pentrak.txt");
    EXPECT_EQ(f.files.replace_work_file, root + c.work_folder + "pentrak.rpl");
    EXPECT_EQ(f.files.generated_files_list, root + c.generated_files_list);
    EXPECT_EQ(f.fs.ReadFile(f.files.log_file), c.log_content);
    EXPECT_EQ(f.fs.ReadFile(f.files.results_file), ".\r\n");
    EXPECT_EQ(f.fs.ReadFile(f.files.generated_files_list), ".\r\n");
    EXPECT_TRUE(f.ui.messages.empty());
  }
}

TEST(WorkFilesTest, DefaultDriveAppliesAndExistingFilesAreKept) {
  LogFixture f;
  const std::string root = f.folder.path();
  // The drive is whatever goes in front of a path with one leading separator.
  f.options.default_drive = root;
  f.options.enable_default_drive = 1;
  ProjectSettings project;
  project.temporary_files_path = "\\work\\";
  project.generated_files_log_file = "\\lists\\out.txt";
  f.fs.CreateFolderPath(root + "/work/");
  f.fs.WriteFile(root + "/work/pentrak.txt", "last run\r\n");
  SetWorkFiles(f.log, project, root);
  EXPECT_EQ(f.files.work_folder, root + "\\work\\");
  EXPECT_EQ(f.files.generated_files_list, root + "\\lists\\out.txt");
  EXPECT_EQ(f.fs.ReadFile(root + "/work/pentrak.txt"), "last run\r\n");
  EXPECT_EQ(f.fs.ReadFile(root + "/lists/out.txt"), ".\r\n");
  EXPECT_FALSE(f.files.log_active);
}

TEST(WorkFilesTest, LogCreatesAppendsAndTurnsItselfOffOnFailure) {
  LogFixture f;
  f.files.log_file = f.folder / "pentrak.txt";
  f.fs.WriteFile(f.files.log_file, ".\r\n");

  WriteLog(f.log, "dropped before any run");
  EXPECT_EQ(f.fs.ReadFile(f.files.log_file), ".\r\n");
  WriteLog(f.log, "Starting Project: ", true);
  WriteLog(f.log, "----:---- Project");
  EXPECT_EQ(f.fs.ReadFile(f.files.log_file), "Starting Project: \r\n----:---- Project\r\n");

  int appends = 0;
  f.fs.SetFaultHook([&appends](FileOp op, const std::string&) {
    if (op != FileOp::kAppend) return 0;
    ++appends;
    return EIO;
  });
  WriteLog(f.log, "lost");
  WriteLog(f.log, "dropped after the failure");
  EXPECT_EQ(appends, 1);
  EXPECT_FALSE(f.files.log_active);
  ASSERT_EQ(f.ui.messages.size(), 1u);
  EXPECT_EQ(f.ui.messages[0].title, "Log File Error");
  EXPECT_EQ(f.ui.messages[0].text, "An error occurred while writing to the log file " +
                                       f.files.log_file + ". Logging will be turned off.");
  EXPECT_EQ(f.ui.messages[0].icon, Icon::kNone);
  EXPECT_EQ(f.ui.messages[0].buttons, Buttons::kOk);
  f.fs.SetFaultHook(nullptr);

  // The next run's start line tries again; an append never creates a missing log.
  WriteLog(f.log, "Starting Project: again", true);
  EXPECT_TRUE(f.files.log_active);
  EXPECT_EQ(f.fs.ReadFile(f.files.log_file), "Starting Project: again\r\n");
  f.fs.RemoveFile(f.files.log_file);
  WriteLog(f.log, "into nothing");
  EXPECT_FALSE(f.fs.FileExists(f.files.log_file));
  EXPECT_EQ(f.ui.messages.size(), 2u);
  EXPECT_FALSE(f.files.log_active);
}

TEST(WorkFilesTest, DisabledLogHoldsOnlyTheNote) {
  LogFixture f;
  f.files.log_file = f.folder / "pentrak.txt";
  f.fs.WriteFile(f.files.log_file, "last run\r\n");
  f.options.enable_logging = 0;
  WriteLog(f.log, "Starting Project: ", true);
  WriteLog(f.log, "a line");
  EXPECT_EQ(f.fs.ReadFile(f.files.log_file), "last run\r\n");
  EXPECT_FALSE(f.files.log_active);
  WriteLog(f.log, "anything", true, true);
  EXPECT_EQ(f.fs.ReadFile(f.files.log_file), kNote);
  EXPECT_TRUE(f.ui.messages.empty());
}

TEST(WorkFilesTest, ResultsAndGeneratedListFailQuietly) {
  LogFixture f;
  f.files.results_file = f.folder / "search.txt";
  f.files.generated_files_list = f.folder / "generate.txt";

  WriteResultsFile(f.log, "appended to nothing", false);
  EXPECT_FALSE(f.fs.FileExists(f.files.results_file));
  WriteResultsFile(f.log, "first", true);
  WriteResultsFile(f.log, "second", false);
  EXPECT_EQ(f.fs.ReadFile(f.files.results_file), "first\r\nsecond\r\n");

  WriteGeneratedFilesList(f.log, "a.html", true, true);
  WriteGeneratedFilesList(f.log, "b.html", false, true);
  WriteGeneratedFilesList(f.log, "not written", false, false);
  EXPECT_EQ(f.fs.ReadFile(f.files.generated_files_list), "a.html\r\nb.html\r\n");
  WriteGeneratedFilesList(f.log, "not written", true, false);
  EXPECT_EQ(f.fs.ReadFile(f.files.generated_files_list), "");

  f.fs.SetFaultHook([](FileOp, const std::string&) { return ENOSPC; });
  WriteResultsFile(f.log, "lost", true);
  WriteGeneratedFilesList(f.log, "lost", false, true);
  f.fs.SetFaultHook(nullptr);
  EXPECT_EQ(f.fs.ReadFile(f.files.results_file), "first\r\nsecond\r\n");
  EXPECT_EQ(f.fs.ReadFile(f.files.generated_files_list), "");
  EXPECT_TRUE(f.ui.messages.empty());
}

// A link planted at a work file's name must not make the program write where it leads.
TEST(WorkFilesTest, ALinkAtAWorkFileIsReplacedNeverWrittenThrough) {
  LogFixture f;
  f.files.log_file = f.folder / "pentrak.txt";
  f.files.results_file = f.folder / "search.txt";
  f.files.generated_files_list = f.folder / "generate.txt";
  const std::string outside = f.folder / "keep.txt";
  f.fs.WriteFile(outside, "kept\r\n");
  auto plant_link = [&](const std::string& at) {
    ::unlink(at.c_str());
    ASSERT_EQ(::symlink(outside.c_str(), at.c_str()), 0);
  };
  auto is_link = [](const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
  };

  plant_link(f.files.log_file);
  plant_link(f.files.results_file);
  plant_link(f.files.generated_files_list);
  WriteLog(f.log, "Starting Project: ", true);
  WriteLog(f.log, "a line");
  WriteResultsFile(f.log, "Searching", true);
  WriteGeneratedFilesList(f.log, "a.html", true, true);
  EXPECT_EQ(f.fs.ReadFile(outside), "kept\r\n");
  EXPECT_EQ(f.fs.ReadFile(f.files.log_file), "Starting Project: \r\na line\r\n");
  EXPECT_EQ(f.fs.ReadFile(f.files.results_file), "Searching\r\n");
  EXPECT_EQ(f.fs.ReadFile(f.files.generated_files_list), "a.html\r\n");
  for (const std::string* path :
       {&f.files.log_file, &f.files.results_file, &f.files.generated_files_list}) {
    EXPECT_FALSE(is_link(*path)) << *path;
  }
  EXPECT_TRUE(f.ui.messages.empty());

  // A link planted in the middle of a run is refused by the append, which turns logging off.
  plant_link(f.files.log_file);
  WriteLog(f.log, "not through the link");
  EXPECT_EQ(f.fs.ReadFile(outside), "kept\r\n");
  EXPECT_FALSE(f.files.log_active);
  ASSERT_EQ(f.ui.messages.size(), 1u);
  EXPECT_EQ(f.ui.messages[0].title, "Log File Error");
}

}  // namespace
}  // namespace pentrak
