#include "check/link_sources.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "engine/content_file.h"
#include "engine/document_generator.h"
#include "engine/expansion.h"
#include "project/definition_file.h"
#include "testing/test_context.h"

namespace pentrak {
namespace {

// The project of one document, optimized to a single line, whose first line holds a date: the
// page read back is never the text the sources give later, only alike.
class LinkSourcesTest : public ::testing::Test {
 protected:
  LinkSourcesTest() {
    f.project.definition_file = "project.txt";
    f.project.optimization_status = 1;
    f.project.optimization_level = 2;
    f.WriteText("src/project.txt", "[Main]\r\nindex.html,page.tpl,page.par\r\nstatic.html\r\n");
    f.WriteText("src/page.tpl",
                "<p>[@DATE] <a href=\"[@PAGE]\">x</a></p>\r\n<p>[@LINK(@url:gone.html)]</p>\r\n");
    f.WriteText(
        "src/page.par",
        "[@PAGE]:\r\nmissing.html\r\n[@]\r\n\r\n[@LINK(@url)]:\r\n<a href=\"(@url)\">L</a>\r\n"
        "[@]\r\n");
    f.WriteText("site/static.html", "<p>\r\n<a href=\"nowhere.html\">x</a></p>\r\n");
  }

  // Generates the document as a run would, at the given time.
  void Generate(std::time_t now) {
    f.clock.SetNow(now);
    ReadDefinition(DefinitionContext{f.fs, f.ui, f.project, f.options, f.definition}, true, false);
    LoadContentFile(ContentLoadContext{f.project, f.fs, f.log, f.macros}, kContentFileScope,
                    f.Source("page.par"), 0, true, true);
    f.macros.content_files_loaded = 1;
    ExpansionContext expansion{f.project, f.definition, f.macros, f.clock};
    GenerateDocument(DocumentGeneratorContext{expansion, f.fs, f.log}, 0, 0);
  }

  std::optional<LinkSource> Find(const std::string& page, const std::string& url) {
    const std::string path = f.Path("site/" + page);
    const std::string text = f.fs.ReadFile(path);
    LinkSources sources(SourceContext{f.fs, f.ui, f.clock, f.options, f.project});
    return sources.Find(path, text, text.find(url), url);
  }

  TestContext f;
};

TEST_F(LinkSourcesTest, TracesLinksOfAPageGeneratedAtAnotherTime) {
  Generate(1700000000);
  f.clock.SetNow(1800000000);
  EXPECT_EQ(Find("index.html", "missing.html"),
            (LinkSource{f.Source("page.par"), 2, "[@PAGE]", "", "", 0}));
  EXPECT_EQ(Find("index.html", "gone.html"),
            (LinkSource{f.Source("page.tpl"), 2, "", "[@LINK]", f.Source("page.par"), 5}));
  // A static page is its own source; a file the definition does not list has none.
  EXPECT_EQ(Find("static.html", "nowhere.html"),
            (LinkSource{f.Path("site/static.html"), 2, "", "", "", 0}));
  f.WriteText("site/extra.html", "<a href=\"x.html\">x</a>");
  EXPECT_EQ(Find("extra.html", "x.html"), std::nullopt);
}

TEST_F(LinkSourcesTest, NamesNoSourceForAPageItsSourcesNoLongerGive) {
  Generate(1700000000);
  f.WriteText("src/page.par", "[@PAGE]:\r\nother.html\r\n[@]\r\n");
  EXPECT_EQ(Find("index.html", "missing.html"), std::nullopt);
  f.WriteText("src/page.tpl", "[@PAGE\r\n");  // a tag without its end: the expansion fails
  EXPECT_EQ(Find("index.html", "missing.html"), std::nullopt);
}

}  // namespace
}  // namespace pentrak
