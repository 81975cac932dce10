#include "cli/batch_form.h"

#include <gtest/gtest.h>

#include "cli/cli_test_support.h"

namespace pentrak::cli {
namespace {

TEST(BatchFormTest, OnlyArgumentsBeginningWithASlashAreTheBatchForm) {
  struct Case {
    std::vector<std::string> arguments;
    std::optional<std::string> command_line;
    std::string home;
  };
  const Case cases[] = {
      {{"/mode=2", "/project=a.web"}, "/mode=2 /project=a.web", ""},
      {{"--home", "H", "/mode=2", "/command=run", "now"}, "/mode=2 /command=run now", "H"},
      {{"--home=H", "/project=a b.web"}, "/project=a b.web", "H"},
      {{"--home", "/mode=2"}, std::nullopt, ""},
      {{"show", "/x.web"}, std::nullopt, ""},
      {{}, std::nullopt, ""},
  };
  for (const Case& c : cases) {
    std::ostringstream out;
    std::istringstream in;
    CommandContext context{out, out, in, "", {}};
    EXPECT_EQ(BatchFormCommandLine(c.arguments, context), c.command_line);
    EXPECT_EQ(context.home, c.home);
  }
}

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
    batch_path = root + "site.web";
    for (char& c : batch_path) {
      if (c == '/') c = '\\';
    }
  }
  std::string batch_path;
};

TEST_F(BatchFormRunTest, GeneratesAProjectOfTheHistoryAndNothingElse) {
  EXPECT_EQ(RunCli({"/mode=2", "/project=" + batch_path}), 0) << err.str();
  EXPECT_FALSE(fs.FileExists(home / "site/index.html"));

  fs.WriteLines(home / "projects.ini", {"5|" + home / "site/site.web" + "|1"});
  EXPECT_EQ(RunCli({"/mode=2", "/project=" + batch_path}), 0) << err.str();
  EXPECT_EQ(fs.ReadFile(home / "site/index.html"), "<p>Hello</p>\r\n");
}

TEST_F(BatchFormRunTest, AnInvalidProjectIsACommandLineError) {
  EXPECT_EQ(RunCli({"/mode=2", "/project=nowhere.web"}), 2);
  EXPECT_EQ(err.str(),
            "Command Line Error: Error processing command line options.\nThe file nowhere.web is "
            "not a valid Project file.\nPlease verify that the command line settings are "
            "correct.\n");
}

}  // namespace
}  // namespace pentrak::cli
