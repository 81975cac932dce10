#include "preview/live_reload.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "preview/page_channel.h"
#include "preview/run_problems.h"

namespace pentrak {
namespace {

TEST(LiveReloadTest, PutsTheScriptBeforeTheLastBodyEndOnly) {
  const std::string script = ReloadScript("1a2b", 7, "/a%20b/index.html");
  ASSERT_EQ(script.rfind("<script>", 0), 0u);
  const struct {
    std::string page;
    std::size_t at;  // where the script goes
  } kCases[] = {
      {"<html><body>x</body></html>\r\n", 13},
      {"<BODY>x</BODY >", 7},
      {"<p>&lt;/body&gt;</p></body></body>", 27},
      {"no body\r\n", 9},
      {"</bod", 5},
  };
  for (const auto& c : kCases) {
    std::string expected = c.page;
    expected.insert(c.at, script);
    EXPECT_EQ(WithReloadScript(c.page, script), expected) << c.page;
  }
}

// Read from the end in blocks of every size, a page gets the script where a page held whole does,
// a tag across two blocks included.
TEST(LiveReloadTest, FindsTheLastBodyEndReadingBlocksFromTheEnd) {
  const struct {
    std::string page;
    std::uint64_t at;
  } kCases[] = {
      {"<html><body>x</body></html>\r\n", 13},
      {"<BODY>x</BODY >", 7},
      {"<p>&lt;/body&gt;</p></body></body>", 27},
      {"</body>" + std::string(50, 'x'), 0},
      {"no body\r\n", 9},
      {"</bod", 5},
      {"", 0},
  };
  for (const auto& c : kCases) {
    for (std::size_t block = 1; block <= 9; ++block) {
      auto read_at = [&](std::uint64_t offset, char* data, std::size_t count) {
        std::size_t n = std::min<std::size_t>(count, c.page.size() - offset);
        std::copy_n(c.page.data() + offset, n, data);
        return n;
      };
      EXPECT_EQ(ReloadScriptOffset(c.page.size(), read_at, block), c.at) << c.page << " " << block;
    }
  }
}

TEST(LiveReloadTest, WritesEventsAndPagePaths) {
  EXPECT_EQ(EventText("problems", {"one", "two\rthree", ""}),
            "event: problems\ndata: one\ndata: two three\ndata: \n\n");
  EXPECT_EQ(EventText("clear", {}), "event: clear\ndata: -\n\n");
  EXPECT_EQ(PageUrlPath("/site/out/a/b.html", "/site/out/"), "/a/b.html");
  EXPECT_EQ(PageUrlPath("\\site\\out\\index.html", "/site/out"), "/index.html");
  EXPECT_EQ(PageUrlPath("/site/outside.html", "/site/out"), "");
  EXPECT_EQ(PageUrlPath("/site/out/", "/site/out/"), "");
}

TEST(LiveReloadTest, StreamsLearnTheLastRunAndReloadOnlyWhenTheyMissedARewrite) {
  using std::chrono::milliseconds;
  PageChannel channel;
  channel.Publish({"Generated 0 of 1 document with 1 error"}, {});
  EventStream fresh = channel.Open("", std::nullopt, "");
  EXPECT_EQ(channel.Next(fresh, milliseconds(0)),
            "event: problems\ndata: Generated 0 of 1 document with 1 error\n\n"
            "event: build\ndata: 1\n\n");
  EXPECT_EQ(channel.Next(fresh, milliseconds(0)), "");  // nothing newer

  channel.Publish({}, {"/a.html"});
  EXPECT_EQ(channel.Next(fresh, milliseconds(0)),
            "event: clear\ndata: -\n\nevent: reload\ndata: /a.html\n\nevent: build\ndata: 2\n\n");

  channel.Publish({}, {"/b.html"});
  channel.Publish({}, {});
  channel.Publish({}, {"/c.html"});
  EXPECT_EQ(channel.Next(fresh, milliseconds(0)),
            "event: clear\ndata: -\n\nevent: reload\ndata: *\n\nevent: build\ndata: 5\n\n");
  channel.Close();
  EXPECT_EQ(channel.Next(fresh, milliseconds(1000)), "");
}

// A page opens its stream with the build it was served at: it reloads when a run since rewrote
// it (or every page), or when it was served by another start of the preview.
TEST(LiveReloadTest, APageBehindItsBuildReloadsWhenItsStreamOpens) {
  using std::chrono::milliseconds;
  PageChannel channel;
  channel.Publish({}, {"/a.html", "/b%20c.html"});  // build 1
  channel.Publish({}, {"/b%20c.html"});             // build 2
  channel.Publish({}, {});                          // build 3
  const std::string self = channel.instance();
  const struct {
    std::string instance;
    std::optional<std::uint64_t> build;
    std::string page;
    std::string reload;  // the reload event's data, "" for none
  } kCases[] = {
      {self, 0, "/a.html", "/a.html"},
      {self, 1, "/a.html", ""},
      {self, 1, "/b%20c.html", "/b%20c.html"},
      {self, 3, "/other.html", ""},
      {self, 4, "/a.html", "*"},  // a build this start never made
      {self, std::nullopt, "/a.html", "*"},
      {"0123456789abcdef", 3, "/a.html", "*"},
      {"", std::nullopt, "/a.html", ""},  // a stream that knows nothing of what its page shows
  };
  for (const auto& c : kCases) {
    EventStream stream = channel.Open(c.instance, c.build, c.page);
    std::string reload = c.reload.empty() ? "" : "event: reload\ndata: " + c.reload + "\n\n";
    EXPECT_EQ(channel.Next(stream, milliseconds(0)),
              "event: clear\ndata: -\n\n" + reload + "event: build\ndata: 3\n\n")
        << c.instance << " " << c.build.value_or(99) << " " << c.page;
  }
  // A run that rewrites every page reloads a page at any build; one that rewrites other pages
  // tells it the new build only.
  EventStream stream = channel.Open(self, 3, "/a.html");
  channel.Next(stream, milliseconds(0));
  channel.Publish({}, {"/b%20c.html"});
  EXPECT_EQ(channel.Next(stream, milliseconds(0)),
            "event: clear\ndata: -\n\nevent: build\ndata: 4\n\n");
  channel.Publish({}, {"*"});
  EXPECT_EQ(channel.Next(stream, milliseconds(0)),
            "event: clear\ndata: -\n\nevent: reload\ndata: /a.html\n\nevent: build\ndata: 5\n\n");
}

TEST(LiveReloadTest, ProblemLinesKeepEachDocumentsErrorsAndWarnings) {
  const std::string indent(10, ' ');
  std::vector<std::string> log = {
      "Starting Project: \tSite\t\t2026-12-06 10:00:00",
      "",
      "----:---- Globals",
      indent + "ERROR: Could not open file at /s/g.par.",
      "",
      "0000:0000 /o/index.html",
      indent + ">Source files out-of-date",
      "",
      "0000:0001 /o/a.html",
      indent + "WARNING: The required Macro [@X] does not have a value.",
      indent + "ERROR: Bad thing",
      "",
  };
  EXPECT_EQ(
      ProblemLines("Generated 1 of 2 documents", {"Error # 10006\rFirst\r\nSecond"}, log),
      (std::vector<std::string>{
          "Generated 1 of 2 documents", "Error # 10006", "First", "Second", "----:---- Globals",
          indent + "ERROR: Could not open file at /s/g.par.", "0000:0001 /o/a.html",
          indent + "WARNING: The required Macro [@X] does not have a value.",
          indent + "ERROR: Bad thing"}));
}

}  // namespace
}  // namespace pentrak
