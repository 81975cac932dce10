#include "check/findings.h"

#include <gtest/gtest.h>

#include <string>

namespace pentrak {
namespace {

Finding BrokenAt(std::optional<LinkSource> source) {
  Finding finding;
  finding.page = "/site/out/news/a.html";
  finding.line = 3;
  finding.column = 9;
  finding.url = "b.html";
  finding.message = "broken link \"b.html\": no file news/b.html";
  finding.source = std::move(source);
  return finding;
}

// The three kinds of source: template text, a macro's value, and a link a macro built around
// text written at its tag; then the static page that is its own source, and none.
TEST(FindingsTest, WritesEachKindOfSourceInEachForm) {
  struct Case {
    std::optional<LinkSource> source;
    const char* text;
    const char* row;
    const char* json_source;
  };
  const Case cases[] = {
      {LinkSource{"/site/src/page.tpl", 7, "", "", "", 0},
       "/site/src/page.tpl:7: note: written here\n", "    written at page.tpl:7",
       R"({"file":"/site/src/page.tpl","line":7})"},
      {LinkSource{"/site/src/nav.par", 4, "[@NAV]", "", "", 0},
       "/site/src/nav.par:4: note: written here, in the value of [@NAV]\n",
       "    written at nav.par:4, in the value of [@NAV]",
       R"({"file":"/site/src/nav.par","line":4,"value_of":"[@NAV]"})"},
      {LinkSource{"/site/src/page.tpl", 9, "", "[@LINK]", "/site/src/links.par", 2},
       "/site/src/page.tpl:9: note: written here, through [@LINK] (/site/src/links.par:2)\n",
       "    written at page.tpl:9, through [@LINK] (links.par:2)",
       R"({"file":"/site/src/page.tpl","line":9,"macro":"[@LINK]",)"
       R"("macro_file":"/site/src/links.par","macro_line":2})"},
      {LinkSource{"/site/out/news/a.html", 3, "", "", "", 0}, "", "    written in the page itself",
       R"({"file":"/site/out/news/a.html","line":3})"},
      {std::nullopt, "", "    no source line known", "null"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    const Finding finding = BrokenAt(c.source);
    EXPECT_EQ(FindingText(finding),
              "/site/out/news/a.html:3:9: broken link \"b.html\": no file news/b.html\n" +
                  std::string(c.text));
    EXPECT_EQ(
        FindingRowText(finding, "/site/out"),
        "news/a.html:3:9: broken link \"b.html\": no file news/b.html\n" + std::string(c.row));
    EXPECT_EQ(FindingJson(finding),
              R"({"severity":"error","file":"/site/out/news/a.html","line":3,"column":9,)"
              R"("url":"b.html","message":"broken link \"b.html\": no file news/b.html",)"
              R"("source":)" +
                  std::string(c.json_source) + "}");
  }
}

TEST(FindingsTest, OpensTheSourceLineOrElseThePage) {
  const Finding written = BrokenAt(LinkSource{"/site/src/nav.par", 4, "[@NAV]", "", "", 0});
  EXPECT_EQ(FindingSourcePlace(written).path, "/site/src/nav.par");
  EXPECT_EQ(FindingSourcePlace(written).line, 4);
  const Finding unknown = BrokenAt(std::nullopt);
  EXPECT_EQ(FindingSourcePlace(unknown).path, "/site/out/news/a.html");
  EXPECT_EQ(FindingSourcePlace(unknown).line, 3);
}

TEST(FindingsTest, NamesWhatAUrlIsForTheReader) {
  EXPECT_EQ(UrlNoun("a", UrlAttribute::kHref), "link");
  EXPECT_EQ(UrlNoun("link", UrlAttribute::kHref), "link");
  EXPECT_EQ(UrlNoun("img", UrlAttribute::kSrc), "image");
  EXPECT_EQ(UrlNoun("source", UrlAttribute::kSrcset), "image");
  EXPECT_EQ(UrlNoun("video", UrlAttribute::kPoster), "image");
  EXPECT_EQ(UrlNoun("video", UrlAttribute::kSrc), "media file");
  EXPECT_EQ(UrlNoun("script", UrlAttribute::kSrc), "script");
  EXPECT_EQ(UrlNoun("iframe", UrlAttribute::kSrc), "frame");
}

}  // namespace
}  // namespace pentrak
