#include "search/search.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "search/search_file_list.h"
#include "testing/test_context.h"
#include "testing/test_project.h"

namespace pentrak {
namespace {

using Lines = std::vector<std::string>;

TEST(SearchFileListTest, KeepsEachNameOnceAndGrowsByAHundred) {
  SearchFileList files;
  files.Reset();
  EXPECT_EQ(files.SlotCount(), 10u);
  for (int i = 0; i < 10; ++i) files.Add("f" + std::to_string(i) + ".par");
  files.Add("f3.par");
  files.Add("F3.par");  // names compare exactly
  files.Add("");
  EXPECT_EQ(files.SlotCount(), 110u);
  Lines names = files.Names();
  ASSERT_EQ(names.size(), 11u);
  EXPECT_EQ(names[3], "f3.par");
  EXPECT_EQ(names[10], "F3.par");
  files.Reset();
  EXPECT_EQ(files.SlotCount(), 110u);
  EXPECT_TRUE(files.Names().empty());
}

TEST(SearchTest, CountsOccurrencesOnALine) {
  struct Case {
    const char* line;
    const char* find;
    bool ignore_case;
    bool definitions_only;
    int expected;
  };
  const Case cases[] = {
      {"abc abc abc", "abc", false, false, 3},
      {"aaaa", "aa", false, false, 2},
      {"aaa", "aa", false, false, 1},  // the second "aa" overlaps the first
      {"Title TITLE title", "title", false, false, 1},
      {"Title TITLE title", "title", true, false, 3},
      {"", "x", false, false, 0},
      {"abc", "", false, false, 0},
      // Definitions: "[@TITLE]" looks for "[@TITLE]:" or "[@TITLE(@" at the start of a line
      // that holds "]:".
      {"[@TITLE]:Home", "  TITLE] ", false, true, 1},
      {"<h1>[@TITLE]</h1>", "TITLE]", false, true, 0},
      {"[@TITLE(@size:2)]:text", "TITLE]", false, true, 1},
      {"[@TITLE(@size:2)] no colon", "TITLE]", false, true, 0},
      {" [@TITLE]:Home", "TITLE]", false, true, 0},
      {"[@TITLE]:[@TITLE]:", "[@TITLE]", false, true, 1},
      {"[@title]:Home", "[@TITLE]", true, true, 1},
      {"[@TITLE]:Home", "[@TITLE]:", false, true, 1},
      // Without an end tag in the text only the start of a definition line counts.
      {"[@TITLEBAR]:x", "TITLE", false, true, 1},
      {"[@TITLEBAR] x", "TITLE", false, true, 0},
  };
  for (const Case& c : cases) {
    std::string find = EffectiveFindText(c.find, c.definitions_only, testing::DefaultTags());
    SearchPattern pattern =
        MakeSearchPattern(find, c.ignore_case, c.definitions_only, testing::DefaultTags());
    EXPECT_EQ(CountOccurrences(c.line, pattern), c.expected) << c.line << " / " << c.find;
  }
}

// Main: globals tools.par; index.html and about.html share general.tpl and shared.par.
// News: globals news.par; n.html uses news.tpl, shared.par and n.par.
void AddSampleDefinition(TestContext& p) {
  p.project.project_macro_file = "pm.par";
  p.definition.global_content_files = {"g.par", ""};
  int main = p.AddFolder("Main", {"tools.par", ""});
  p.AddDocument(main, "index.html", "general.tpl", {"index.par", "shared.par", ""});
  p.AddDocument(main, "about.html", "general.tpl", {"about.par", "shared.par"});
  int news = p.AddFolder("News", {"news.par"});
  p.AddDocument(news, "n.html", "news.tpl", {"shared.par", "n.par"});
}

TEST(SearchTest, FileListsFollowScopeKindsAndMode) {
  struct Case {
    const char* label;
    FileSelection selection;
    bool documents;
    Lines expected;
  };
  FileSelection whole;
  FileSelection current = whole;
  current.scope = SearchScope::kCurrentDocument;
  current.current_folder = 0;
  current.current_document = 1;
  FileSelection news_folder_parts = current;
  news_folder_parts.current_folder = 1;
  news_folder_parts.current_document = 0;
  news_folder_parts.globals = false;
  news_folder_parts.content_files = false;
  FileSelection only_content = whole;
  only_content.globals = only_content.folder_globals = only_content.templates = false;

  const Case cases[] = {
      {"whole project",
       whole,
       false,
       {"pm.par", "g.par", "tools.par", "general.tpl", "index.par", "shared.par", "about.par",
        "news.par", "news.tpl", "n.par"}},
      {"current document",
       current,
       false,
       {"pm.par", "g.par", "tools.par", "general.tpl", "about.par", "shared.par"}},
      {"folder globals and template of n.html", news_folder_parts, false, {"news.par", "news.tpl"}},
      {"content files",
       only_content,
       false,
       {"pm.par", "index.par", "shared.par", "about.par", "n.par"}},
      {"all documents", whole, true, {"index.html", "about.html", "n.html"}},
      {"current document only", current, true, {"about.html"}},
  };
  for (const Case& c : cases) {
    TestContext p;
    AddSampleDefinition(p);
    p.search_files.Reset();
    if (c.documents) {
      BuildDocumentFileList(p.definition, c.selection, p.search_files);
    } else {
      BuildProjectFileList(p.definition, p.project, c.selection, p.search_files);
    }
    EXPECT_EQ(p.search_files.Names(), c.expected) << c.label;
  }
}

TEST(SearchTest, ReportsEveryFileInStatusResultsAndResultsFile) {
  TestContext p;
  int main = p.AddFolder("Main");
  p.AddDocument(main, "index.html", "page.tpl", {"a.par", "gone.par", "a.par"});
  p.WriteText("src/page.tpl", "nothing here\r\n");
  p.WriteText("src/a.par", "x marks x\r\nnone\r\nX\r\n");
  std::string tpl = p.Source("page.tpl");
  std::string a = p.Source("a.par");
  std::string gone = p.Source("gone.par");

  SearchRequest request;
  request.find_text = "x";
  SearchSummary summary = DoSearch(p.Search(), request);

  EXPECT_EQ(p.fs.ReadLines(p.work_files.results_file),
            (Lines{"Searching for: \"x\"", "", tpl, ">Not found", "", a, ">2 occurrences found", "",
                   gone, ">File does not exist", "", "",
                   "Complete. 2 occurrences in 1 file. 2 files checked. "}));
  EXPECT_EQ(p.ui.status_lines,
            (Lines{"Building File List...", "Searching: " + tpl, "Searching: " + a,
                   "2 occurrences found.", "Searching: " + gone,
                   "Complete. 2 occurrences in 1 file. 2 files checked. "}));
  EXPECT_EQ(p.results.results, Lines{a + " (2)"});
  ASSERT_EQ(p.results.details.size(), 1u);
  EXPECT_EQ(DetailText(p.results.details[0]), a + " (2) - x marks x");
  EXPECT_EQ(p.results.details[0].line_number, 1);
  EXPECT_FALSE(summary.stopped);
}

// The whole file is searched at once, yet a hit must be what a search line by line finds: never
// across a line's end, a lone CR inside its line, counts per line.
TEST(SearchTest, WholeFileSearchCountsAsLineByLine) {
  struct Case {
    const char* text;
    const char* find;
    bool ignore_case;
    std::vector<std::pair<int, int>> hits;  // line number, count
  };
  const Case cases[] = {
      {"x\r\nfoo foo\r\n\r\nfoo", "foo", false, {{2, 2}, {4, 1}}},
      {"xa\r\nab\r\n", "a\r", false, {}},
      {"a\nb\n", "\n", false, {}},
      {"one\rtwo\r\n", "\rt", false, {{1, 1}}},
      {"ab\r", "b\r", false, {{1, 1}}},
      {"aaaa\r\n", "aa", false, {{1, 2}}},
      {"AbC abc\r\nABX", "abc", true, {{1, 2}}},
      {"AbC abc\r\nABX", "abc", false, {{1, 1}}},
      {"The Quick brown FOX\r\nquick brown fo\r\n", "QUICK BROWN FOX", true, {{1, 1}}},
  };
  for (const Case& c : cases) {
    TestContext p;
    p.AddDocument(p.AddFolder("Main"), "index.html", "page.tpl", {});
    p.WriteText("src/page.tpl", c.text);
    SearchRequest request;
    request.find_text = c.find;
    request.ignore_case = c.ignore_case;
    DoSearch(p.Search(), request);
    std::vector<std::pair<int, int>> hits;
    for (const LineHit& hit : p.results.details) hits.emplace_back(hit.line_number, hit.count);
    EXPECT_EQ(hits, c.hits) << ::testing::PrintToString(std::string(c.text)) << " / " << c.find;
  }
}

}  // namespace
}  // namespace pentrak
