#include "engine/optimization.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "project/definition.h"
#include "settings/project_settings.h"

namespace pentrak {
namespace {

TEST(OptimizationTest, EffectiveLevelFollowsStatusExcludeListAndFlag) {
  struct Case {
    short status;
    short level;
    const char* exclude_list;
    const char* path;
    short flag;
    short expected;
  };
  const Case cases[] = {
      // Status 1, level 2, with an exclude list.
      {1, 2, ".css, .js", "styles.css", -1, 0},
      {1, 2, ".css, .js", "index.html", -1, 2},
      {1, 2, ".css, .js", "index.html", 1, 1},
      {1, 2, ".css, .js", "menu.js", 2, 0},
      {1, 2, ".css, .js", "index.html", 0, 0},
      // Only the text after the first dot is the extension.
      {1, 2, ".css, .js", "menu.min.js", -1, 2},
      {1, 1, ".html", "C:\\my.site\\index.html", -1, 1},
      {1, 1, ".html", "C:\\web\\index.html", -1, 0},
      {1, 1, ".html", "/srv/my.site/index.html", -1, 1},
      // Extensions compare case-sensitively; blanks around the list do no harm.
      {1, 1, ".htm", "INDEX.HTM", -1, 1},
      {1, 1, " .css,.htm ", "page.htm", -1, 0},
      // Status 2: flags only.
      {2, 1, "", "index.html", -1, 0},
      {2, 1, "", "index.html", 2, 2},
      {2, 2, ".html", "index.html", 1, 1},
      // Status 0: flags are ignored.
      {0, 2, "", "index.html", 2, 0},
  };
  for (const Case& c : cases) {
    ProjectSettings project;
    project.optimization_status = c.status;
    project.optimization_level = c.level;
    project.optimize_exclude_list = c.exclude_list;
    Document document;
    document.path = c.path;
    document.optimization_flag = c.flag;
    EXPECT_EQ(EffectiveOptimizationLevel(project, document), c.expected)
        << c.path << " status " << c.status << " flag " << c.flag;
  }
}

TEST(OptimizationTest, ExtensionAndLeadingWhiteSpace) {
  const std::pair<const char*, const char*> extensions[] = {
      {"index.html", "html"},
      {"  menu.min.js ", "min.js"},
      {"README", ""},
      {".", ""},
      {"a.", ""},
      {".htaccess", "htaccess"},
  };
  for (const auto& [name, extension] : extensions)
    EXPECT_EQ(FileExtension(name), extension) << name;

  const std::pair<const char*, const char*> lines[] = {
      {"   <p>", "<p>"}, {"\t<b>x</b>", "<b>x</b>"}, {" \t \t", ""}, {"", ""}, {"a  b ", "a  b "},
  };
  for (const auto& [line, stripped] : lines) EXPECT_EQ(StripLeadingWhiteSpace(line), stripped);
}

std::string Optimize(short level, const std::vector<std::string>& lines) {
  OptimizationPass pass(level);
  std::string out;
  for (const std::string& line : lines) pass.Apply(line, out);
  return out;
}

TEST(OptimizationTest, PassRulesAtBothLevelsWithMarkers) {
  const std::string off = "<!--PENTRAK:OPTIMIZE:OFF-->";
  const std::string on = "<!--PENTRAK:OPTIMIZE:ON-->";
  struct Case {
    short level;
    std::vector<std::string> lines;
    std::string expected;
  };
  const Case cases[] = {
      {1, {"   <p>", "\t<b>x</b>", " \t ", "", "end"}, "<p>\r\n<b>x</b>\r\nend\r\n"},
      {2, {"<p>", "Hello", "world</p>"}, "<p>Hello world</p>"},
      {2, {"a ", "  b"}, "a b "},
      // Inside an OFF block blank-only lines stay, empty lines go; the markers' lines vanish.
      {1, {"  x", off, "  pre", "   ", "", on, "  y"}, "x\r\n  pre\r\n   \r\ny\r\n"},
      {2, {"<p>", "text " + off + " more", "  keep", on, "  <i>"}, "<p>\r\n  keep\r\n<i>"},
      // OFF without ON leaves the rest as it is; ON without OFF is only removed.
      {2, {"a", off, "  b"}, "a \r\n  b\r\n"},
      {1, {on, "  a"}, "a\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Optimize(c.level, c.lines), c.expected)
        << "level " << c.level << ": " << c.lines.front();
  }
}

}  // namespace
}  // namespace pentrak
