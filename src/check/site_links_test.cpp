#include "check/site_links.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

class SiteLinksTest : public ::testing::Test {
 protected:
  SiteLinksTest() {
    Write("index.html",
          "<a href=\"docs/\">docs</a> <a href=\"docs\">docs</a> <a href=\"empty/\">x</a>\n"
          "<a href=\"gone.html\">x</a> <a href=\"docs/page.html#part\">x</a>\n"
          "<a href=\"docs/page.html#nothere\">x</a> <a href=\"#self\" id=\"self\">x</a>\n"
          "<a href=\"#top\">x</a> <a href=\"#caf%C3%A9\">x</a> <a href=\"#gone:~:text=a\">x</a>\n"
          "<img src=\"img/a.png\" srcset=\"img/a.png 1x, img/b.png 2x\">\n"
          "<a href=\"https://example.org/x\">x</a> <a href=\"/\">root</a>\n"
          "<p id=\"caf\xc3\xa9\"></p>\n");
    Write("docs/index.html", "<a href=\"../index.html#self\">x</a> <a href=\"page.html\">x</a>");
    Write("docs/page.html", "<h2 id=\"part\">x</h2><a href=\"page.html#part\">x</a>");
    Write("empty/notes.txt", "text");
    Write("img/a.png", "PNG");
  }

  void Write(const std::string& name, const std::string& text) {
    fs.CreateFolderPath(folder / name);
    fs.WriteFile(folder / name, text);
  }

  // Each broken link as "page line:column written: reason".
  std::vector<std::string> Described(const std::vector<BrokenLink>& broken) {
    std::vector<std::string> lines;
    for (const BrokenLink& link : broken) {
      std::string text = fs.ReadFile(folder / link.page);
      auto [line, column] = LineAndColumn(text, link.link.offset);
      lines.push_back(link.page + " " + std::to_string(line) + ":" + std::to_string(column) + " " +
                      link.link.written + ": " + link.reason);
    }
    return lines;
  }

  TestFolder folder;
  FileSystem fs;
};

TEST_F(SiteLinksTest, FindsMissingFilesIndexPagesAndAnchors) {
  SiteLinks site;
  site.Load(fs, folder.path());
  const std::vector<std::string> expected = {
      "index.html 1:59 empty/: the folder empty has no index.html",
      "index.html 2:10 gone.html: no file gone.html",
      "index.html 3:10 docs/page.html#nothere: docs/page.html has no anchor \"nothere\"",
      "index.html 4:58 #gone:~:text=a: this page has no anchor \"gone:~:text=a\"",
      "index.html 5:44 img/b.png: no file img/b.png",
  };
  EXPECT_EQ(Described(site.Check()), expected);
  EXPECT_EQ(site.page_count(), 3u);
}

TEST_F(SiteLinksTest, ReloadsChangedPagesAndThoseThatLinkToThem) {
  SiteLinks site;
  site.Load(fs, folder.path());
  // The anchor goes from the page, and the missing file comes.
  Write("docs/page.html", "<h2>x</h2>");
  Write("gone.html", "<p>back</p>");
  const std::vector<std::string> affected = site.Reload(fs, {"docs/page.html", "gone.html"});
  EXPECT_EQ(affected, (std::vector<std::string>{"docs/index.html", "docs/page.html", "gone.html",
                                                "index.html"}));
  const std::vector<std::string> expected = {
      "index.html 2:36 docs/page.html#part: docs/page.html has no anchor \"part\"",
      "index.html 3:10 docs/page.html#nothere: docs/page.html has no anchor \"nothere\"",
      "index.html 4:58 #gone:~:text=a: this page has no anchor \"gone:~:text=a\"",
      "index.html 5:44 img/b.png: no file img/b.png",
  };
  std::vector<std::string> found = Described(site.Check(affected));
  std::erase_if(found, [](const std::string& line) { return line.find("empty/") != line.npos; });
  EXPECT_EQ(found, expected);

  fs.RemoveFile(folder / "docs/index.html");
  site.Reload(fs, {"docs/index.html"});
  EXPECT_EQ(Described(site.Check({"index.html"})).front(),
            "index.html 1:10 docs/: the folder docs has no index.html");
}

}  // namespace
}  // namespace pentrak
