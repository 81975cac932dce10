#include "check/link_check.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/error.h"
#include "preview/run_problems.h"
#include "testing/test_context.h"

namespace pentrak {
namespace {

// Pages written straight into the document root: no definition, so no sources.
class LinkCheckTest : public ::testing::Test {
 protected:
  LinkCheckContext Context() {
    return LinkCheckContext{f.fs, f.ui, f.clock, f.options, f.project, f.work_files};
  }
  std::string Page(const std::string& name, const std::string& text) {
    f.WriteText("site/" + name, text);
    return f.Path("site/" + name);
  }
  std::vector<std::string> Messages(const std::vector<Finding>& findings) {
    std::vector<std::string> messages;
    for (const Finding& finding : findings) messages.push_back(finding.message);
    return messages;
  }

  TestContext f;
};

TEST_F(LinkCheckTest, WatchesTheWrittenPagesAndThoseLinkingToThem) {
  const std::string a = Page("a.html", "<a href=\"b.html#x\">b</a>");
  const std::string b = Page("b.html", "<p id=\"x\">x</p><a href=\"gone.html\">gone</a>");
  Page("c.html", "<a href=\"nowhere.html\">untouched</a>");
  LinkWatch watch;
  // The first check reads the site but looks only at what was written.
  EXPECT_EQ(Messages(watch.CheckWritten(Context(), {a})), std::vector<std::string>{});
  Page("b.html", "<p>x</p>");
  EXPECT_EQ(Messages(watch.CheckWritten(Context(), {b})),
            std::vector<std::string>{"broken link \"b.html#x\": b.html has no anchor \"x\""});
  EXPECT_EQ(Messages(watch.CheckWritten(Context(), {f.Path("elsewhere/b.html")})),
            std::vector<std::string>{});

  // The preview's overlay shows them under a heading, each as the check writes it.
  const std::vector<Finding> findings = watch.CheckWritten(Context(), {b});
  const std::vector<std::string> expected = {
      "Broken links in the pages just written:",
      a + ":1:10: broken link \"b.html#x\": b.html has no anchor \"x\"",
  };
  EXPECT_EQ(LinkProblemLines(findings), expected);
  EXPECT_EQ(LinkProblemLines({}), std::vector<std::string>{});
}

TEST_F(LinkCheckTest, TellsAPublishWhetherAnInternalLinkIsBroken) {
  Page("index.html", "<a href=\"about.html\">about</a> <a href=\"https://example.org/\">out</a>");
  Page("about.html", "<img src=\"logo.png\">");
  EXPECT_TRUE(HasBrokenInternalLinks(f.fs, f.project.document_root));
  f.WriteText("site/logo.png", "PNG");
  EXPECT_FALSE(HasBrokenInternalLinks(f.fs, f.project.document_root));
  EXPECT_THROW(HasBrokenInternalLinks(f.fs, f.Path("nowhere")), Error);
}

TEST_F(LinkCheckTest, AsksTheWebOnlyWhenToldAndKeepsTheAnswers) {
  httplib::Server server;
  server.Get("/ok", [](const httplib::Request&, httplib::Response&) {});
  server.Get("/gone",
             [](const httplib::Request&, httplib::Response& response) { response.status = 404; });
  const int port = server.bind_to_any_port("127.0.0.1");
  std::thread serving([&server] { server.listen_after_bind(); });
  const std::string base = "http://127.0.0.1:" + std::to_string(port);
  // Port 1 of the loopback address takes no connection: no answer comes.
  const std::string page =
      Page("index.html", "<a href=\"" + base + "/ok\">a</a>\n<a href=\"" + base +
                             "/gone#part\">b</a>\n" + "<img src=\"http://127.0.0.1:1/x.png\">");
  LinkCheckReport report = CheckLinks(Context(), false);
  EXPECT_EQ(report.findings.size(), 0u);
  EXPECT_EQ(report.external, 0);

  report = CheckLinks(Context(), true);
  server.stop();
  serving.join();
  EXPECT_EQ(report.external, 3);
  ASSERT_EQ(report.findings.size(), 2u);
  EXPECT_EQ(report.errors(), 1);
  EXPECT_EQ(report.findings[0].message, "broken link \"" + base + "/gone#part\": 404 Not Found");
  EXPECT_EQ(report.findings[0].line, 2);
  EXPECT_EQ(report.findings[1].severity, Severity::kWarning);
  EXPECT_EQ(report.findings[1].message,
            "image \"http://127.0.0.1:1/x.png\" not checked: could not connect");
  EXPECT_EQ(CheckSummary(report),
            "1 page, 3 links (3 external addresses) checked: 1 broken, 1 not checked.");

  // The server is gone; what it said is kept in the work folder for a day.
  report = CheckLinks(Context(), true);
  ASSERT_EQ(report.findings.size(), 2u);
  EXPECT_EQ(report.findings[0].message, "broken link \"" + base + "/gone#part\": 404 Not Found");
  EXPECT_EQ(f.fs.ReadLines(f.work_files.work_folder + "links.txt").size(), 2u);
}

}  // namespace
}  // namespace pentrak
