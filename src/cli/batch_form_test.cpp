#include "cli/batch_form.h"

#include <gtest/gtest.h>

#include "testing/cli_fixture.h"

namespace pentrak::cli {
namespace {

class BatchFormRunTest : public ::testing::Test, public CliFixture {
 protected:
  void SetUp() override {
    ASSERT_EQ(RunCli({"projects"}), 0);  // a first run sets the program folder up
    std::string root = home / "site/";
    fs.CreateFolderPath(root);
    fs.WriteLines(root + "site.web", {"name=Site", "document-root=" + root, "content-root=" + root,
                                      "definition-file=project.txt"});
    fs.WriteLines(root + "project.txt", {"[Main]", "index.html,page.tpl!"});
    fs.WriteLines(root + "page.tpl", {"<p>Hello</p>"});
    project_path = root + "site.web";
  }
  std::string project_path;
};

TEST_F(BatchFormRunTest, GeneratesAProjectOfTheHistoryAndNothingElse) {
  // A scheduler must not take a project it does not know for success.
  EXPECT_EQ(RunCli({"/mode=2", "/project=" + project_path}), 1);
  EXPECT_EQ(err.str(), "pentrak-cli: The Project file " + project_path +
                           " is not in the project history and was not generated.\n");
  EXPECT_FALSE(fs.FileExists(home / "site/index.html"));

  fs.WriteLines(home / "projects.ini", {"5|" + project_path + "|1"});
  EXPECT_EQ(RunCli({"/mode=2", "/project=" + project_path}), 0) << err.str();
  EXPECT_EQ(fs.ReadFile(home / "site/index.html"), "<p>Hello</p>\r\n");

  // Written with "\" the path still matches the history entry.
  std::string backslashed = project_path;
  for (char& c : backslashed) {
    if (c == '/') c = '\\';
  }
  fs.WriteLines(home / "site/page.tpl", {"<p>Again</p>"});
  EXPECT_EQ(RunCli({"/mode=1", "/project=" + backslashed}), 0) << err.str();
  EXPECT_EQ(fs.ReadFile(home / "site/index.html"), "<p>Again</p>\r\n");

  // A run with errors (the template has gone) is no success either.
  fs.RemoveFile(home / "site/page.tpl");
  EXPECT_EQ(RunCli({"/mode=2", "/project=" + project_path}), 1);
  EXPECT_NE(err.str().find("Error processing file: " + home / "site/index.html."),
            std::string::npos)
      << err.str();
}

TEST_F(BatchFormRunTest, AnInvalidOrEmptyProjectIsACommandLineError) {
  const std::string head = "Command Line Error: Error processing command line options.\n";
  const std::string tail = "\nPlease verify that the command line settings are correct.\n";
  EXPECT_EQ(RunCli({"/mode=2", "/project=nowhere.web"}), 2);
  EXPECT_EQ(err.str(), head + "The file nowhere.web is not a valid Project file." + tail);
  EXPECT_EQ(RunCli({"/mode=2", "/project=", "/command=/bin/true"}), 2);
  EXPECT_EQ(err.str(), head + "The option /project= names no Project file." + tail);
}

}  // namespace
}  // namespace pentrak::cli
