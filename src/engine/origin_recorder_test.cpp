#include "engine/origin_recorder.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/content_file.h"
#include "engine/document_generator.h"
#include "engine/expansion.h"
#include "platform/paths.h"
#include "testing/test_context.h"

namespace pentrak {
namespace {

// One document, site/index.html from src/page.tpl and src/page.par: a multi-line value, a value
// inside a continued line, a wildcard and a macro with a parameter.
class OriginRecorderTest : public ::testing::Test {
 protected:
  OriginRecorderTest() {
    const int folder = f.AddFolder("Main");
    f.AddDocument(folder, f.Path("site/index.html"), f.Path("src/page.tpl"),
                  {f.Path("src/page.par")});
    f.definition.folders[0].documents[0].optimization_flag = -1;
    f.WriteText("src/page.tpl",
                "<html>\r\n"
                "  <p>[@NAV]</p>\r\n"
                "<a href=\"[@URL]\">x</a> tail\\\\\r\n"
                "more\r\n"
                "<li>[@MENU_*]</li>\r\n"
                "[@LINK(@url:p.html)]\r\n");
    f.WriteText("src/page.par",
                "[@NAV]:\r\n<a href=\"n1.html\">1</a>\r\n<a href=\"n2.html\">2</a>\r\n[@]\r\n"
                "[@URL]:\r\nu.html\r\n[@]\r\n"
                "[@MENU_A]:\r\n<a href=\"a.html\">A</a>\r\n[@]\r\n"
                "[@MENU_B]:\r\n<a href=\"b.html\">B</a>\r\n[@]\r\n"
                "[@LINK(@url)]:\r\n<a href=\"(@url)\">L</a>\r\n[@]\r\n");
  }

  void Generate(OriginRecorder* recorder) {
    ClearSwitches document_tables;
    document_tables.content_files = true;
    ClearMacroTables(f.macros, document_tables);
    LoadContentFile(ContentLoadContext{f.project, f.fs, f.log, f.macros}, kContentFileScope,
                    f.Path("src/page.par"), 0, true, true);
    f.macros.content_files_loaded = 1;
    ExpansionContext expansion{f.project, f.definition, f.macros, f.clock};
    DocumentGeneratorContext context{expansion, f.fs, f.log};
    context.origins = recorder;
    GenerateDocument(context, 0, 0);
  }

  // "file:line", and for a value "file:line [@NAME] from " and where its tag stood.
  static std::string Described(const OriginRecorder& recorder, const TextOrigin* origin) {
    if (origin == nullptr) return "nowhere";
    std::string text = FileNameOfPath(recorder.files()[static_cast<std::size_t>(origin->file)]) +
                       ":" + std::to_string(origin->line);
    if (origin->macro.empty()) return text;
    return text + " " + origin->macro + " from " +
           Described(recorder, &recorder.origin(origin->call));
  }

  TestContext f;
};

TEST_F(OriginRecorderTest, NamesTheLineEveryPieceOfTheDocumentCameFrom) {
  struct Place {
    const char* text;  // found in the document, first occurrence
    const char* origin;
  };
  const Place places[] = {
      {"<html>", "page.tpl:1"},
      {"<p>", "page.tpl:2"},
      {"n1.html", "page.par:2 [@NAV] from page.tpl:2"},
      {"n2.html", "page.par:3 [@NAV] from page.tpl:2"},
      {"</p>", "page.tpl:2"},
      {"u.html", "page.par:6 [@URL] from page.tpl:3"},
      {"tail", "page.tpl:3"},
      {"more", "page.tpl:4"},
      {"<li>", "page.tpl:5"},
      {"a.html", "page.par:9 [@MENU_A] from page.tpl:5"},
      {"b.html", "page.par:12 [@MENU_B] from page.tpl:5"},
      {"</li>", "page.tpl:5"},
      {"p.html", "page.par:15 [@LINK] from page.tpl:6"},
  };
  // The same places whatever the optimization does to the lines.
  for (short level : {0, 1, 2}) {
    SCOPED_TRACE(testing::Message() << "level " << level);
    f.project.optimization_status = level == 0 ? 0 : 1;
    f.project.optimization_level = level == 0 ? 1 : level;
    Generate(nullptr);
    const std::string written = f.ReadText("site/index.html");
    OriginRecorder recorder(f.project.tags, f.macros);
    Generate(&recorder);
    EXPECT_EQ(recorder.document(), written);
    for (const Place& place : places) {
      const std::size_t at = written.find(place.text);
      ASSERT_NE(at, std::string::npos) << place.text;
      EXPECT_EQ(Described(recorder, recorder.OriginAt(at)), place.origin) << place.text;
    }
  }
}

TEST_F(OriginRecorderTest, KeepsTheDocumentInMemoryWhenAskedToWriteNothing) {
  f.fs.WriteFile(f.Path("site/index.html"), "old\r\n");
  OriginRecorder recorder(f.project.tags, f.macros);
  recorder.write_files = false;
  Generate(&recorder);
  EXPECT_EQ(f.ReadText("site/index.html"), "old\r\n");
  EXPECT_FALSE(f.Exists("temp/pentrak.1"));
  EXPECT_EQ(recorder.document(),
            "<html>\r\n  <p><a href=\"n1.html\">1</a>\r\n  <a href=\"n2.html\">2</a></p>\r\n"
            "<a href=\"u.html\">x</a> tailmore\r\n<li><a href=\"a.html\">A</a></li>\r\n"
            "<li><a href=\"b.html\">B</a></li>\r\n<a href=\"p.html\">L</a>\r\n");
}

}  // namespace
}  // namespace pentrak
