#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/cli_fixture.h"

namespace pentrak {
namespace {

// A generated site of two pages beside the program folder, and projects that publish it.
class PublishCommandTest : public cli::CliFixture, public ::testing::Test {
 protected:
  PublishCommandTest() {
    Write("out/index.html", "<h1>Home</h1>\r\n");
    Write("out/news/today.html", "<p>Today</p>\r\n");
    Write("www/robots.txt", "User-agent: *\r\n");
    Project("site.web", "publish-method=1\r\npublish-folder=" + home / "www" + "\r\n");
    // The first run's notice about the settings files it created is not the publish's.
    RunCli({"projects"});
  }

  void Project(const std::string& name, const std::string& publish) {
    Write(name, "name=Site\r\ndocument-root=" + home / "out/" + "\r\n" + publish);
  }

  int Run(std::vector<std::string> args) {
    args.insert(args.begin(), "publish");
    return RunCli(args);
  }
};

TEST_F(PublishCommandTest, PublishesToTheProjectsFolderAndAgainOnlyWhatChanged) {
  EXPECT_EQ(Run({home / "site.web"}), 0);
  EXPECT_EQ(OutLinesWithoutTimes(),
            (std::vector<std::string>{
                "Starting Publish: \tSite",
                "Sent: index.html",
                "Sent: news/today.html",
                "Completed Publish:\tSite",
                "Sent 2 of 2 files (29 bytes), removed 0 files; 0 unchanged.",
            }));
  EXPECT_EQ(err.str(), "");
  EXPECT_EQ(fs.ReadFile(home / "www/news/today.html"), "<p>Today</p>\r\n");

  // Without a project the current one is published; robots.txt was never the site's.
  Write("out/index.html", "<h1>Home!</h1>\r\n");
  EXPECT_EQ(Run({}), 0);
  EXPECT_EQ(OutLinesWithoutTimes()[1], "Sent: index.html");
  EXPECT_EQ(fs.ReadFile(home / "www/index.html"), "<h1>Home!</h1>\r\n");
}

TEST_F(PublishCommandTest, FilesNoLongerGeneratedStayUnlessDeleteIsGivenWithYes) {
  Run({home / "site.web"});
  fs.RemoveFile(home / "out/news/today.html");
  EXPECT_EQ(Run({}), 0);
  EXPECT_EQ(err.str(),
            "pentrak-cli: 1 file at the destination is no longer generated; --delete removes "
            "it.\n");
  EXPECT_TRUE(fs.FileExists(home / "www/news/today.html"));

  // Nobody at a terminal to ask: --delete alone is refused before anything happens.
  EXPECT_EQ(Run({"--delete"}), 2);
  EXPECT_EQ(err.str(),
            "pentrak-cli: publish --delete asks before removing files and there is no terminal "
            "to ask on; add --yes to remove them without asking. Nothing was changed.\n");
  EXPECT_EQ(Run({"--delete", "--yes"}), 0);
  EXPECT_EQ(OutLinesWithoutTimes()[1], "Removed: news/today.html");
  EXPECT_FALSE(fs.FileExists(home / "www/news/today.html"));
  EXPECT_TRUE(fs.FileExists(home / "www/robots.txt"));
}

TEST_F(PublishCommandTest, ASiteWithABrokenInternalLinkIsPublishedOnlyWithForce) {
  Write("out/index.html", "<a href=\"news/today.html#top\">Today</a> <img src=\"logo.png\">\r\n");
  EXPECT_EQ(Run({home / "site.web"}), 1);
  EXPECT_EQ(err.str(), "pentrak-cli: Cannot publish to " + home / "www" +
                           ": the site has broken internal links (missing pages, images or "
                           "anchors); pentrak-cli check lists them, and publish --force sends "
                           "the site as it is.\n");
  EXPECT_FALSE(fs.FileExists(home / "www/index.html"));
  EXPECT_EQ(Run({"--force"}), 0);
  EXPECT_TRUE(fs.FileExists(home / "www/index.html"));
}

TEST_F(PublishCommandTest, BadArgumentsGiveTwoAndAFailedPublishOne) {
  Project("nowhere.web", "");
  Project("no-host.web", "publish-method=2\r\npublish-remote-folder=/srv/www\r\n");
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err;
  } cases[] = {
      {{home / "site.web", "--to", "ftp://host/www"},
       2,
       "pentrak-cli: Only a folder or an sftp:// address can be published to, not "
       "ftp://host/www.\n"},
      {{home / "nowhere.web"},
       2,
       "pentrak-cli: Site has nowhere to publish to; choose a destination on the Publish tab of "
       "Project Properties, or name one with --to.\n"},
      {{home / "no-host.web"},
       2,
       "pentrak-cli: the publish settings of " + home / "no-host.web" +
           " cannot be used: Please enter the host name of the SFTP server.\n"},
      {{home / "site.web", "--to", home / "missing/www"},
       1,
       "pentrak-cli: Cannot publish to " + home / "missing/www" +
           ": the folder does not exist, nor does the folder that would hold it.\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.args), c.status) << c.args.back();
    EXPECT_EQ(err.str(), c.err);
  }
}

}  // namespace
}  // namespace pentrak
