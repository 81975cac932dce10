#include <gtest/gtest.h>

#include "testing/cli_fixture.h"

namespace pentrak::cli {
namespace {

class ProjectsCommandTest : public ::testing::Test, public CliFixture {};

TEST_F(ProjectsCommandTest, ListsTheNamedProjectsAndMarksTheCurrentOne) {
  ASSERT_EQ(RunCli({"projects"}), 0);
  std::string sample = home / "overview/Pentrak CMS Overview.web";
  EXPECT_EQ(out.str(), "* Pentrak CMS Overview (Sample)  " + sample + "\n");
  EXPECT_EQ(err.str(), "Pentrak CMS: Created " + home / "pentrak.ini" + " and " +
                           home / "projects.ini" + " with their defaults.\n");

  fs.WriteLines(home / "shop.web", {"name=Shop"});
  fs.WriteLines(home / "projects.ini", {"5|" + sample + "|1", "5|" + home / "gone.web" + "|1",
                                        "5|" + home / "shop.web" + "|2"});
  ASSERT_EQ(RunCli({"projects"}), 0);
  EXPECT_EQ(out.str(), "  Pentrak CMS Overview (Sample)  " + sample + "\n* Shop" +
                           std::string(27, ' ') + home / "shop.web" + "\n");
  EXPECT_EQ(err.str(), "");
}

}  // namespace
}  // namespace pentrak::cli
