#include <gtest/gtest.h>

#include <vector>

#include "testing/cli_fixture.h"

namespace pentrak::cli {
namespace {

// A small project beside the program folder: Main/a.html uses page.tpl and a.par,
// Main/b.html uses page.tpl and b.par.
class SearchCommandsTest : public CliFixture, public ::testing::Test {
 protected:
  void SetUp() override {
    Write("src/project.txt", "[Main]\r\na.html,page.tpl,a.par!\r\nb.html,page.tpl,b.par!\r\n");
    Write("src/page.tpl", "<p>[@BODY]</p>\r\n");
    Write("src/a.par", "[@BODY]:\r\nalpha alpha\r\n[@]\r\n");
    Write("src/b.par", "[@BODY]:\r\nbeta\r\n[@]\r\n");
    fs.CreateFolder(home / "site");
    Write("test.web", "name=Test\r\ncontent-root=" + home / "src" + "\r\ndocument-root=" +
                          home / "site" + "\r\ndefinition-file=project.txt\r\n");
  }

  std::string Source(const std::string& name) const { return home / ("src/" + name); }
  int Run(const std::vector<std::string>& args) { return RunCli(args); }
};

TEST_F(SearchCommandsTest, SearchPrintsStatusResultsAndLines) {
  EXPECT_EQ(Run({"search", "ALPHA", home / "test.web", "--ignore-case", "--document", "Main/a.html",
                 "--kinds", "content-files"}),
            0);
  const std::string a = "<dir>/src/a.par";
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
  EXPECT_FALSE(fs.FileExists(home / "pentrak.ini"));  // refused before start-up
  EXPECT_EQ(Run({"search", "x", home / "test.web", "--document", "Main/c.html"}), 2);
  EXPECT_EQ(home.MaskedLines(err.str()).back(),
            "pentrak-cli: the project has no document \"c.html\" in the folder \"Main\"; the "
            "nearest names are \"a.html\" and \"b.html\".");
  EXPECT_EQ(fs.ReadFile(Source("a.par")), "[@BODY]:\r\nalpha alpha\r\n[@]\r\n");
}

TEST_F(SearchCommandsTest, ReplaceWithYesAndLineEndingRepair) {
  EXPECT_EQ(
      Run({"replace", "alpha", "omega", home / "test.web", "--yes", "--kinds", "content-files"}),
      0);
  EXPECT_EQ(fs.ReadFile(Source("a.par")), "[@BODY]:\r\nomega omega\r\n[@]\r\n");
  std::vector<std::string> lines = OutLines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
            (std::vector<std::string>{"Complete. 2 replacements in 1 file. ", "2 files checked.",
                                      "<dir>/src/a.par (2)"}));

  fs.WriteFile(Source("cr.txt"), "one\rtwo");
  EXPECT_EQ(Run({"fix-line-endings", Source("cr.txt")}), 0);
  EXPECT_EQ(fs.ReadFile(Source("cr.txt")), "one\r\ntwo");
  EXPECT_EQ(OutLines(), (std::vector<std::string>{"Processing File: <dir>/src/cr.txt",
                                                  "File fixed. 1 occurrence replaced."}));
}

}  // namespace
}  // namespace pentrak::cli
