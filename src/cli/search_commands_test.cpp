#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "cli/cli.h"
#include "platform/file_system.h"
#include "platform/test_support.h"
#include "settings/project_file.h"
#include "settings/project_settings.h"

namespace pentrak::cli {
namespace {

// A program folder and a small project beside it: Main/a.html uses page.tpl and a.par,
// Main/b.html uses page.tpl and b.par.
class SearchCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs.CreateFolder(folder / "home");
    fs.CreateFolder(folder / "src");
    fs.CreateFolder(folder / "site");
    fs.WriteFile(Source("project.txt"),
                 "[Main]\r\na.html,page.tpl,a.par!\r\nb.html,page.tpl,b.par!\r\n");
    fs.WriteFile(Source("page.tpl"), "<p>[@BODY]</p>\r\n");
    fs.WriteFile(Source("a.par"), "[@BODY]:\r\nalpha alpha\r\n[@]\r\n");
    fs.WriteFile(Source("b.par"), "[@BODY]:\r\nbeta\r\n[@]\r\n");
    ProjectSettings project;
    SetNewProjectDefaults(project);
    project.name = "Test";
    project.project_file_path = folder / "test.web";
    project.content_root = folder / "src";
    project.document_root = folder / "site";
    project.definition_file = "project.txt";
    WriteProjectFile(fs, project);
  }

  std::string Source(const std::string& name) const { return folder / ("src/" + name); }

  int Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"pentrak-cli", "--home", folder / "home"});
    std::vector<const char*> argv;
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    out.str("");
    err.str("");
    return pentrak::cli::Run(static_cast<int>(argv.size()), argv.data(), out, err, in);
  }

  std::vector<std::string> OutLines() const {
    std::vector<std::string> lines;
    std::istringstream text(out.str());
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
  }

  TestFolder folder;
  FileSystem fs;
  std::ostringstream out;
  std::ostringstream err;
  std::istringstream in;
};

TEST_F(SearchCommandsTest, SearchPrintsStatusResultsAndLines) {
  EXPECT_EQ(Run({"search", "ALPHA", folder / "test.web", "--ignore-case", "--document",
                 "Main/a.html", "--kinds", "content-files"}),
            0);
  std::string a = Source("a.par");
  EXPECT_EQ(OutLines(), (std::vector<std::string>{
                            "Building File List...", "Searching: " + a, "2 occurrences found.",
                            "Complete. 2 occurrences in 1 file. 1 file checked. ", a + " (2)",
                            a + ":2: alpha alpha"}));
}

TEST_F(SearchCommandsTest, BadRequestsAreRefusedAndChangeNothing) {
  struct Case {
    std::vector<std::string> args;
    std::string error;
  };
  const Case cases[] = {
      {{"search", ""}, "pentrak-cli: the text to find is empty.\n"},
      {{"search", "x", "--kinds", "globals,pages"},
       "pentrak-cli: unknown kind of file \"pages\"; the kinds are globals, folder-globals, "
       "templates and content-files.\n"},
      {{"replace", "alpha", "omega"},
       "pentrak-cli: replace asks for confirmation and there is no terminal to ask on; add --yes "
       "to replace without asking. Nothing was changed.\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.args), 2) << c.args[0];
    EXPECT_EQ(err.str(), c.error);
  }
  EXPECT_FALSE(fs.FileExists(folder / "home/pentrak.ini"));  // refused before start-up
  EXPECT_EQ(Run({"search", "x", folder / "test.web", "--document", "Main/c.html"}), 2);
  EXPECT_NE(err.str().find("the project has no document \"Main/c.html\""), std::string::npos);
  EXPECT_EQ(fs.ReadFile(Source("a.par")), "[@BODY]:\r\nalpha alpha\r\n[@]\r\n");
}

TEST_F(SearchCommandsTest, ReplaceWithYesAndLineEndingRepair) {
  EXPECT_EQ(
      Run({"replace", "alpha", "omega", folder / "test.web", "--yes", "--kinds", "content-files"}),
      0);
  EXPECT_EQ(fs.ReadFile(Source("a.par")), "[@BODY]:\r\nomega omega\r\n[@]\r\n");
  std::vector<std::string> lines = OutLines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
            (std::vector<std::string>{"Complete. 2 replacements in 1 file. ", "2 files checked.",
                                      Source("a.par") + " (2)"}));

  fs.WriteFile(Source("cr.txt"), "one\rtwo");
  EXPECT_EQ(Run({"fix-line-endings", Source("cr.txt")}), 0);
  EXPECT_EQ(fs.ReadFile(Source("cr.txt")), "one\r\ntwo\r\n");
  EXPECT_EQ(OutLines(), (std::vector<std::string>{"Processing File: " + Source("cr.txt"),
                                                  "File fixed. 1 occurrence replaced."}));
}

}  // namespace
}  // namespace pentrak::cli
