#include "shell/batch_run.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "generation/command_line.h"
#include "testing/workbench_fixture.h"

namespace pentrak {
namespace {

// A one-page project in folder site/ whose history knows it, current or not.
class BatchRunTest : public ::testing::Test, public WorkbenchFixture {
 protected:
  void SetUp() override {
    std::string root = folder / "site/";
    site = Project("site/Site.web", {"name=Site", "document-root=" + root, "content-root=" + root,
                                     "definition-file=project.txt", "max-globals=2"});
    fs().WriteLines(root + "project.txt", {"[Main]", "index.html,page.tpl!"});
    fs().WriteLines(root + "page.tpl", {"<p>Hello</p>"});
    other = Project("other.web", {"name=Other"});
    History({"5|" + other + "|2", "5|" + site + "|1"});
  }
  BatchOutcome Run(const std::string& command_line) {
    return RunBatch(workbench, ParseCommandLine(command_line));
  }
  std::string site, other;
};

TEST_F(BatchRunTest, AKnownProjectIsMadeCurrentAndGenerated) {
  BatchOutcome outcome = Run("/mode=2 /project=" + site);
  EXPECT_TRUE(outcome.generated);
  EXPECT_FALSE(outcome.run_failed);
  EXPECT_TRUE(outcome.close_program);
  EXPECT_EQ(fs().ReadFile(folder / "site/index.html"), "<p>Hello</p>\r\n");
  EXPECT_EQ(HistoryLines(), (std::vector<std::string>{"5|" + other + "|1", "5|" + site + "|2"}));
  EXPECT_EQ(workbench.project.name, "Site");
}

TEST_F(BatchRunTest, TheCommandStartsAfterTheRunAndAStoppedRunStaysOpen) {
  std::string marker = folder / "started";
  workbench.generation.stop_requested = true;  // as a stopped run leaves it
  BatchOutcome outcome =
      RunBatch(workbench, BatchSettings{false, true, "", "touch " + marker, 0, false});
  EXPECT_FALSE(outcome.close_program);
  for (int i = 0; i < 500 && !fs().FileExists(marker); ++i) ::usleep(10000);
  EXPECT_TRUE(fs().FileExists(marker));
}

}  // namespace
}  // namespace pentrak
