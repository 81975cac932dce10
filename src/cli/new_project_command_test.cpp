#include <gtest/gtest.h>

#include "testing/cli_fixture.h"

namespace pentrak::cli {
namespace {

class NewProjectCommandTest : public ::testing::Test, public CliFixture {
 protected:
  void SetUp() override { ASSERT_EQ(RunCli({"projects"}), 0) << err.str(); }
};

TEST_F(NewProjectCommandTest, CreatesTheProjectWithSamplesAndMakesItCurrent) {
  std::string file = home / "shop/Shop.web";
  EXPECT_EQ(RunCli({"new-project", file, "--name", "Shop"}), 0) << err.str();
  EXPECT_EQ(out.str(),
            "Created the project \"Shop\" in " + file + "; it is the current project.\n");
  EXPECT_EQ(err.str(), "");
  EXPECT_EQ(fs.ReadFile(home / "shop/index.par"), fs.ReadFile(home / "samples/index.par"));
  std::vector<std::string> lines = fs.ReadLines(file);
  EXPECT_EQ(lines[2], "document-root=" + home / "shop/");
  EXPECT_EQ(lines[3], "content-root=" + home / "shop/");

  ASSERT_EQ(RunCli({"projects"}), 0);
  EXPECT_NE(out.str().find("* Shop"), std::string::npos) << out.str();
}

TEST_F(NewProjectCommandTest, SwitchesAndRootsAreHonoured) {
  EXPECT_EQ(
      RunCli({"new-project", home / "bare.web", "--name", "Bare", "--content-root", home / "src",
              "--document-root", home / "out", "--no-samples", "--no-definition"}),
      0)
      << err.str();
  std::vector<std::string> lines = fs.ReadLines(home / "bare.web");
  EXPECT_EQ(lines[2], "document-root=" + home / "out/");
  EXPECT_EQ(lines[3], "content-root=" + home / "src/");
  EXPECT_EQ(lines[5], "definition-file=project.txt");
  EXPECT_TRUE(fs.FolderExists(home / "out"));
  EXPECT_TRUE(fs.FolderExists(home / "src/templates"));
  EXPECT_FALSE(fs.FileExists(home / "src/project.txt"));
  EXPECT_FALSE(fs.FileExists(home / "src/index.par"));

  EXPECT_EQ(RunCli({"new-project", home / "none/None.web", "--name", "None", "--no-create-roots",
                    "--no-samples", "--no-definition"}),
            1);
  EXPECT_FALSE(fs.FolderExists(home / "none"));
}

TEST_F(NewProjectCommandTest, RefusalsExitWithOneAndChangeNothing) {
  fs.WriteFile(home / "taken.web", "name=Taken\r\n");
  std::string history = fs.ReadFile(home / "projects.ini");
  struct Case {
    std::vector<std::string> arguments;
    std::string err;
  };
  const Case cases[] = {
      {{"new-project", home / "x/X.web", "--name", ""},
       "Field Error: Please check the Data you entered into the form. Project Name cannot be "
       "blank.\n"},
      {{"new-project", home / "taken.web", "--name", "T"},
       "pentrak-cli: " + home / "taken.web" +
           " already exists; choose another file for the new project.\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RunCli(c.arguments), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), c.err);
  }
  EXPECT_FALSE(fs.FolderExists(home / "x"));
  EXPECT_EQ(fs.ReadFile(home / "taken.web"), "name=Taken\r\n");
  EXPECT_EQ(fs.ReadFile(home / "projects.ini"), history);
  EXPECT_EQ(RunCli({"new-project", home / "y.web"}), 2);
}

}  // namespace
}  // namespace pentrak::cli
