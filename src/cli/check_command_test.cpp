#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/cli_fixture.h"

namespace pentrak {
namespace {

// A project with planted faults: a missing page, a missing image, a wrong anchor, a broken srcset
// entry, a link built by a macro with a parameter and one in a static document; links in a
// comment, in a script and in escaped text, and good links of every kind, are not faults.
class CheckCommandTest : public cli::CliFixture, public ::testing::Test {
 protected:
  CheckCommandTest() {
    Write("site.web", "name=Planted\r\ndocument-root=" + home / "out" + "\r\ncontent-root=" +
                          home / "src" + "\r\ndefinition-file=project.txt\r\n");
    Write("src/project.txt",
          "Globals=site.par\r\n[Main]\r\nindex.html,page.tpl,index.par\r\n"
          "about.html,page.tpl,about.par\r\nstatic.html\r\n[Docs]\r\n"
          "docs/index.html,page.tpl,docs.par\r\n");
    Write("src/page.tpl",
          "<!DOCTYPE html>\r\n<html>\r\n"
          "<head><title>[@TITLE]</title><link href=\"/style.css\" rel=\"stylesheet\"></head>\r\n"
          "<body>\r\n[@NAV]\r\n<h1 id=\"top-heading\">[@TITLE]</h1>\r\n[@BODY]\r\n"
          "<!-- <a href=\"commented-out.html\">not a link</a> -->\r\n"
          "<script>var s = '<a href=\"in-script.html\">';</script>\r\n"
          "<p>&lt;a href=\"escaped.html\"&gt;</p>\r\n</body>\r\n</html>\r\n");
    Write("src/site.par",
          "Macros for every page.\r\n\r\n[@NAV]:\r\n<nav><a href=\"/index.html\">Home</a> "
          "<a href=\"/about.html#team\">About</a> <a href=\"/docs\">Docs</a></nav>\r\n[@]\r\n"
          "\r\n[@LINK(@url)(@text)]:\r\n<a href=\"(@url)\">(@text)</a>\r\n[@]\r\n");
    Write("src/index.par",
          "[@TITLE]:\r\nHome\r\n[@]\r\n\r\n[@BODY]:\r\n"
          "<p>See <a href=\"#top-heading\">the top</a> and <a href=\"my%20page.html?x=1\">"
          "mine</a>.</p>\r\n"
          "<p><a href=\"missing.html\">gone</a> and <a href=\"about.html#staff\">staff</a>.</p>\r\n"
          "<p>[@LINK(@url:old-page.html)(@text:Old)]</p>\r\n[@]\r\n");
    Write("src/about.par",
          "[@TITLE]:\r\nAbout\r\n[@]\r\n\r\n[@BODY]:\r\n<h2 id=\"team\">Team</h2>\r\n"
          "<img src=\"images/nope.png\" alt=\"\">\r\n"
          "<img src=\"images/logo.png\" srcset=\"images/logo.png 1x, images/logo-2x.png 2x\">\r\n"
          "[@]\r\n");
    Write("src/docs.par",
          "[@TITLE]:\r\nDocs\r\n[@]\r\n\r\n[@BODY]:\r\n<p><a href=\"../index.html\">Up</a> "
          "<a href=\"./\">here</a> <a href=\"../about.html#team\">team</a></p>\r\n[@]\r\n");
    Write("out/style.css", "body{}\r\n");
    Write("out/images/logo.png", "PNG");
    Write("out/my page.html", "<p>mine</p>\r\n");
    Write("out/static.html",
          "<html><body>\r\n<p>Static: <a href=\"index.html\">home</a>,\r\n"
          "<a href=\"nowhere.html\">nowhere</a>.</p>\r\n</body></html>\r\n");
    fs.CreateFolderPath(home / "out/docs/");
  }

  int Check(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "check");
    return RunCli(arguments);
  }
};

TEST_F(CheckCommandTest, FindsEachPlantedFaultWithItsGeneratedAndSourcePlace) {
  ASSERT_EQ(RunCli({"generate", home / "site.web", "--quiet"}), 0);
  EXPECT_EQ(Check({}), 1);
  const std::vector<std::string> expected = {
      "<dir>/out/about.html:8:11: broken image \"images/nope.png\": no file images/nope.png",
      "<dir>/src/about.par:7: note: written here, in the value of [@BODY]",
      "<dir>/out/about.html:9:56: broken image \"images/logo-2x.png\": no file "
      "images/logo-2x.png",
      "<dir>/src/about.par:8: note: written here, in the value of [@BODY]",
      "<dir>/out/index.html:8:13: broken link \"missing.html\": no file missing.html",
      "<dir>/src/index.par:7: note: written here, in the value of [@BODY]",
      "<dir>/out/index.html:8:49: broken link \"about.html#staff\": about.html has no anchor "
      "\"staff\"",
      "<dir>/src/index.par:7: note: written here, in the value of [@BODY]",
      "<dir>/out/index.html:9:13: broken link \"old-page.html\": no file old-page.html",
      "<dir>/src/index.par:8: note: written here, in the value of [@BODY], through [@LINK] "
      "(<dir>/src/site.par:7)",
      "<dir>/out/static.html:3:10: broken link \"nowhere.html\": no file nowhere.html",
      "5 pages, 26 links checked: 6 broken.",
  };
  EXPECT_EQ(OutLines(), expected);
  EXPECT_EQ(err.str(), "");

  EXPECT_EQ(Check({"--warn-only"}), 0);
  EXPECT_EQ(OutLines().size(), expected.size());
}

TEST_F(CheckCommandTest, WritesOneJsonObjectPerFinding) {
  ASSERT_EQ(RunCli({"generate", home / "site.web", "--quiet"}), 0);
  // Only the broken link of the static page stays: the others are mended at their sources.
  Write("src/index.par", "[@TITLE]:\r\nHome\r\n[@]\r\n[@BODY]:\r\n<p>fine</p>\r\n[@]\r\n");
  Write("src/about.par", "[@TITLE]:\r\nAbout\r\n[@]\r\n[@BODY]:\r\n<p id=\"team\"></p>\r\n[@]\r\n");
  ASSERT_EQ(RunCli({"generate", "--quiet"}), 0);
  // Quotes, backslashes and bytes that are not UTF-8 are escaped; UTF-8 passes as it is.
  Write("out/static.html", "<a href=\"q&quot;\\caf\xe9\xc3\xa9\">x</a>\r\n");
  EXPECT_EQ(Check({"--json"}), 1);
  const std::vector<std::string> expected = {
      R"({"severity":"error","file":"<dir>/out/static.html","line":1,"column":10,)"
      R"("url":"q\"\\caf\u00e9é","message":"broken link \"q\"\\caf\u00e9é\": )"
      R"(no file q\"/caf\u00e9é","source":{"file":"<dir>/out/static.html","line":1}})",
  };
  EXPECT_EQ(OutLines(), expected);
  EXPECT_EQ(home.Masked(err.str()), "5 pages, 16 links checked: 1 broken.\n");
}

TEST_F(CheckCommandTest, RefusesWhatItCannotCheck) {
  EXPECT_EQ(Check({home / "site.web", "--no-such-option"}), 2);
  ASSERT_EQ(RunCli({"projects"}), 0);  // the first run, with its notice
  Write("site2.web", "name=Nowhere\r\ndocument-root=" + home / "nowhere" + "\r\n");
  EXPECT_EQ(Check({home / "site2.web"}), 2);
  EXPECT_EQ(home.Masked(err.str()),
            "pentrak-cli: The document root <dir>/nowhere does not exist. Generate the project "
            "first.\n");
}

TEST_F(CheckCommandTest, TheSampleSiteChecksClean) {
  ASSERT_EQ(RunCli({"generate", "--quiet"}), 0);
  EXPECT_EQ(Check({}), 0);
  ASSERT_EQ(OutLines().size(), 1u);
  EXPECT_NE(OutLines()[0].find("checked: nothing broken."), std::string::npos) << out.str();
}

}  // namespace
}  // namespace pentrak
