#include "generation/generation_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "testing/test_context.h"

namespace pentrak {
namespace {

const std::string kIndent = "          ";

class GenerationRunTest : public ::testing::Test {
 protected:
  GenerationRunTest() { f.clock.SetNow(1700000000); }

  GenerationRun Run(short scope = kScopeProject, int folder = -1, int document = -1) {
    GenerationContext context = f.Generation();
    return RunGeneration(context, scope, folder, document);
  }

  TestContext f;
};

TEST_F(GenerationRunTest, FullProjectRunLogsEveryStepAndTheSummary) {
  f.project.project_macro_file = "macros.par";
  f.options.ignore_missing_file_errors = 1;
  f.WriteText("src/project.txt",
              "Globals=globals.par!\r\n"
              "[Main]\r\n"
              "Globals=main.par!\r\n"
              "index.html,page.tpl,index.par!\r\n"
              "logo.gif\r\n"
              "about.html,about.tpl!\r\n"
              "[News]\r\n"
              "news.html,page.tpl,missing.par!\r\n");
  f.WriteText("src/macros.par", "[@SITE]:\r\nMy Site\r\n[@]\r\n");
  f.WriteText("src/globals.par", "[@TITLE]:\r\nWelcome to [@SITE]\r\n[@]\r\n");
  f.WriteText("src/main.par", "[@SECTION]:\r\nMain\r\n[@]\r\n");
  f.WriteText("src/index.par", "[@BODY]:\r\nIndex body\r\n[@]\r\n");
  f.WriteText("src/page.tpl", "<h1>[@TITLE]</h1>\r\n<h2>[@SECTION]</h2>\r\n<p>[@BODY]</p>\r\n");
  f.WriteText("src/about.tpl", "<h1>[@TITLE]</h1>\r\n<p>[@$BODY]</p>\r\n");

  GenerationRun run = Run();

  EXPECT_EQ(f.ReadText("site/index.html"),
            "<h1>Welcome to My Site</h1>\r\n<h2>Main</h2>\r\n<p>Index body</p>\r\n");
  EXPECT_EQ(f.ReadText("site/about.html"), "<h1>Welcome to My Site</h1>\r\n");
  EXPECT_EQ(f.ReadText("site/news.html"), "<h1>Welcome to My Site</h1>\r\n");
  EXPECT_FALSE(f.Exists("site/logo.gif"));
  const std::vector<std::string> expected_log = {
      "Starting Project: \tSite\t\t<time>",
      "",
      "----:---- Project",
      "",
      "----:---- Globals",
      "",
      "0000:---- Main",
      "",
      "0000:0000 <dir>/site/index.html",
      kIndent + ">Generated",
      "",
      "0000:0001 <dir>/site/logo.gif",
      kIndent + ">Static document, generation skipped",
      "",
      "0000:0002 <dir>/site/about.html",
      kIndent + "WARNING: The required Macro [@BODY] does not have a value.",
      kIndent + ">Generated",
      "",
      "0001:---- News",
      "",
      "0001:0000 <dir>/site/news.html",
      kIndent + "ERROR: Could not open file at <dir>/src/missing.par.",
      kIndent + ">Generated",
      "",
      "",
      "Completed Project:\tSite\t\t<time>",
      "",
      "ERRORS:   1  (1 missing file)",
      "WARNINGS: 1",
      "",
      "Documents Generated:  3",
      "Current Documents:    0",
      "Read-Only Documents:  0",
      "Static Documents:     1",
      "No-Path Documents:    0",
      "",
      "Total Documents:      4",
      "",
      "Generation Time:      0 seconds",
      "",
      "Generated Files List: <dir>/temp/generate.txt",
  };
  EXPECT_EQ(f.LogLines(), expected_log);
  const std::vector<std::string> expected_status = {
      "Starting Project: \tSite\t\t<time>",
      "Processing:\t<dir>/site/index.html",
      "Processing:\t<dir>/site/about.html",
      "Processing:\t<dir>/site/news.html",
      "Completed Project:\tSite\t\t<time>",
      "Generated 3 of 4 documents with 1 error (1 missing file) and 1 warning "
      "(1  static document).\t\tSee Log File.",
  };
  EXPECT_EQ(f.StatusLines(), expected_status);
  EXPECT_EQ(f.ReadText("temp/generate.txt"), f.Path("site/index.html") + "\r\n" +
                                                 f.Path("site/about.html") + "\r\n" +
                                                 f.Path("site/news.html") + "\r\n");
  EXPECT_EQ(run.end, RunEnd::kCompleted);
  EXPECT_EQ(f.ui.beeps, 1);
  EXPECT_EQ(f.ui.status_clears, 1);
  EXPECT_TRUE(f.ui.questions.empty());
  EXPECT_FALSE(f.state.generating);

  // Generating again replaces the documents and leaves nothing else behind.
  EXPECT_EQ(Run().generated, 3);
  EXPECT_EQ(f.fs.FilesBelow(f.Path("site")),
            (std::vector<std::string>{"about.html", "index.html", "news.html"}));
}

TEST_F(GenerationRunTest, ModifiedOnlySkipsCurrentDocumentsAndKeepsUnchangedOnes) {
  constexpr std::int64_t kThen = 1600000000;
  f.display.modified_only = 1;
  f.project.project_macro_file = "macros.par";
  f.WriteText("src/project.txt", "[Main]\r\na.html,page.tpl,a.par!\r\nb.html,other.tpl!\r\n");
  f.WriteText("src/macros.par", "[@X]:\r\nx\r\n[@]\r\n");
  f.WriteText("src/a.par", "[@A]:\r\na\r\n[@]\r\n");
  f.WriteText("src/page.tpl", "[@A][@X]\r\n");
  f.WriteText("src/other.tpl", "b\r\n");
  EXPECT_EQ(Run().generated, 2);
  EXPECT_EQ(f.ReadText("site/a.html"), "ax\r\n");

  // Sources older than the documents; the project macro file newer does not count.
  for (const char* name : {"src/a.par", "src/page.tpl", "src/other.tpl"}) {
    f.fs.SetLastModified(f.Path(name), kThen - 10);
  }
  f.fs.SetLastModified(f.Path("src/macros.par"), kThen + 10);
  f.fs.SetLastModified(f.Path("site/a.html"), kThen);
  f.fs.SetLastModified(f.Path("site/b.html"), kThen);
  GenerationRun run = Run();
  EXPECT_EQ(run.generated, 0);
  EXPECT_EQ(run.current, 2);
  EXPECT_EQ(f.ui.status_lines.back(), "Generated 0 of 2 documents (2  current documents).");

  // A newer template makes a.html out of date; the result is the same, so it counts as current
  // (the document generator test checks that the file stays as it was).
  f.fs.SetLastModified(f.Path("src/page.tpl"), kThen + 10);
  EXPECT_EQ(Run().current, 2);
  EXPECT_EQ(f.StatusLines()[1], "Comparing:\t<dir>/site/a.html");
}

using Places = std::vector<std::pair<int, int>>;  // (folder, document slot)

// Picks the documents at the given places (in order) and keeps what it hears.
class PickAt : public DocumentPicker {
 public:
  explicit PickAt(Places places) : places_(std::move(places)) {}
  std::vector<std::vector<bool>> Choose(const ProjectDefinition& definition) override {
    std::vector<std::vector<bool>> chosen(definition.folders.size());
    for (auto [folder, document] : places_) {
      chosen[folder].resize(document + 1);
      chosen[folder][document] = true;
    }
    return chosen;
  }
  void Generated(int folder_index, int document_index) override {
    generated.emplace_back(folder_index, document_index);
  }

  Places generated;

 private:
  Places places_;
};

TEST_F(GenerationRunTest, APickerGeneratesExactlyThePickedDocumentsWhateverTheirTimes) {
  f.display.modified_only = 1;  // the whole-second comparison does not apply to a picker
  f.options.ignore_generation_errors = 1;
  f.WriteText("src/project.txt",
              "[Main]\r\na.html,page.tpl,a.par!\r\nb.html,page.tpl!\r\n"
              "[News]\r\nn.html,missing.tpl!\r\n[Other]\r\no.html,page.tpl!\r\n");
  f.WriteText("src/a.par", "[@A]:\r\na\r\n[@]\r\n");
  f.WriteText("src/page.tpl", "<[@A]>\r\n");
  GenerationContext context = f.Generation();
  context.shows_definition = false;  // the tables keep the paths as the run read them
  PickAt everything({{0, 0}, {0, 1}, {1, 0}, {2, 0}});
  context.picker = &everything;
  EXPECT_EQ(RunGeneration(context, kScopeProject).generated, 3);
  EXPECT_EQ(everything.generated, (Places{{0, 0}, {0, 1}, {2, 0}}));

  // a.par changed within the second its page was written: picked, a.html is generated. b.html
  // comes out the same and stays; folders without a picked document are not visited.
  f.WriteText("src/a.par", "[@A]:\r\nA\r\n[@]\r\n");
  f.fs.SetLastModified(f.Path("site/b.html"), 1600000000);
  f.ui.status_lines.clear();
  PickAt two({{0, 0}, {0, 1}});
  context.picker = &two;
  GenerationRun run = RunGeneration(context, kScopeProject);
  EXPECT_EQ(f.ReadText("site/a.html"), "<A>\r\n");
  EXPECT_EQ(f.fs.LastModified(f.Path("site/b.html")), 1600000000);
  EXPECT_EQ(two.generated, (Places{{0, 0}, {0, 1}}));
  const std::vector<std::string> status = {
      "Starting Project: \tSite\t\t<time>", "Processing:\t<dir>/site/a.html",
      "Processing:\t<dir>/site/b.html", "Completed Project:\tSite\t\t<time>",
      "Generated 1 of 2 documents (1  current document)."};
  EXPECT_EQ(f.StatusLines(), status);
  const std::vector<std::string> log = f.LogLines();
  EXPECT_EQ(std::count_if(log.begin(), log.end(),
                          [](auto& line) { return line[0] != '-' && line.find(":---- ") == 4; }),
            1);  // the folder lines: Main's only

  // A definition known to be current is not read again: its file may even be gone.
  f.fs.RemoveFile(f.Source("project.txt"));
  context.definition_current = true;
  PickAt other({{2, 0}});
  context.picker = &other;
  run = RunGeneration(context, kScopeProject);
  EXPECT_EQ(run.end, RunEnd::kCompleted);
  EXPECT_EQ(other.generated, (Places{{2, 0}}));
}

// Each question's answers, over two documents that both raise it.
TEST_F(GenerationRunTest, QuestionsAnsweredYesYesToAllNoOrClosed) {
  using A = FourButtonAnswer;
  struct Case {
    const char* problem;
    std::vector<A> answers;  // fewer answers than questions: the box is closed
    RunEnd end;
    int questions;
    int generated;
    int errors;
    int warnings;
  };
  const Case cases[] = {
      {"missing file", {A::kYes, A::kYes}, RunEnd::kCompleted, 2, 2, 0, 0},
      {"missing file", {A::kYesToAll}, RunEnd::kCompleted, 1, 2, 0, 0},
      {"missing file", {A::kNo}, RunEnd::kHalted, 1, 0, 0, 0},
      {"missing file", {}, RunEnd::kHalted, 1, 0, 0, 0},
      {"bad tag", {A::kYes, A::kYes}, RunEnd::kCompleted, 2, 0, 2, 0},
      {"bad tag", {A::kNo}, RunEnd::kHalted, 1, 0, 1, 0},
      {"no folder", {A::kYes, A::kYes}, RunEnd::kCompleted, 2, 2, 0, 0},
      {"no folder", {A::kYesToAll}, RunEnd::kCompleted, 1, 2, 0, 0},
      {"no folder", {A::kNo, A::kNo}, RunEnd::kCompleted, 2, 0, 0, 2},
      {"no folder", {A::kCancel}, RunEnd::kHalted, 1, 0, 1, 0},
  };
  for (const Case& c : cases) {
    TestContext g;
    std::string problem = c.problem;
    g.WriteText("src/good.tpl", "ok\r\n");
    g.WriteText("src/bad.tpl", "x [@A\r\n");
    if (problem == "missing file") {
      g.WriteText("src/project.txt",
                  "[Main]\r\na.html,good.tpl,gone.par!\r\nb.html,good.tpl,gone.par!\r\n");
    } else if (problem == "bad tag") {
      g.WriteText("src/project.txt", "[Main]\r\na.html,bad.tpl!\r\nb.html,bad.tpl!\r\n");
    } else {
      g.WriteText("src/project.txt",
                  "[Main]\r\nnew1/a.html,good.tpl!\r\nnew2/b.html,good.tpl!\r\n");
    }
    g.ui.question_answers.assign(c.answers.begin(), c.answers.end());
    GenerationContext context = g.Generation();
    GenerationRun run = RunGeneration(context, kScopeProject);
    SCOPED_TRACE(testing::Message() << c.problem << ", " << c.answers.size() << " answers");
    EXPECT_EQ(run.end, c.end);
    ASSERT_EQ(static_cast<int>(g.ui.questions.size()), c.questions);
    EXPECT_EQ(run.generated, c.generated);
    EXPECT_EQ(run.errors, c.errors);
    EXPECT_EQ(run.warnings, c.warnings);
    const ScriptedUserInterface::Question& question = g.ui.questions[0];
    const std::string continue_text =
        "Would you like to ignore this error and continue generating the Project?";
    if (problem == "missing file") {
      EXPECT_EQ(question.title, "File Access Error");
      EXPECT_EQ(question.text,
                "Error opening file: " + g.Path("src/gone.par") + ".\r\r" + continue_text);
    } else if (problem == "bad tag") {
      EXPECT_EQ(question.title, "Project Generation Error");
      EXPECT_EQ(question.text, "Error processing file: " + g.Path("site/a.html") +
                                   ".\rInvalid tag in string: x [@A\r" + continue_text);
    } else {
      EXPECT_EQ(question.title, "Subdirectory Does Not Exist");
      EXPECT_EQ(question.text, "The subdirectory " + g.Path("site/new1/") +
                                   " does not exist. Would you like Pentrak to create this "
                                   "subdirectory?");
    }
    EXPECT_EQ(question.shown.cancel, problem == "no folder");
    EXPECT_EQ(question.preset, problem == "no folder" ? A::kCancel : A::kNo);
    ASSERT_EQ(g.ui.messages.size(), c.end == RunEnd::kHalted ? 1u : 0u);
    if (problem == "no folder" && c.end == RunEnd::kHalted) {
      EXPECT_EQ(g.ui.messages[0].text,
                "Error # 10006 was generated by PentrakCMS\rError processing "
                "file: " +
                    g.Path("site/new1/a.html") +
                    ".\r\nSubdirectory does not exist.\r\nProject "
                    "generation halted.");
    }
  }
}

TEST_F(GenerationRunTest, ReadOnlyDocumentIsSkippedOrHaltsTheRun) {
  f.WriteText("src/project.txt", "[Main]\r\na.html,page.tpl!\r\nb.html,page.tpl!\r\n");
  f.WriteText("src/page.tpl", "page\r\n");
  f.WriteText("site/b.html", "old\r\n");
  f.fs.SetReadOnly(f.Path("site/b.html"), true);

  f.display.skip_read_only = 1;
  GenerationRun run = Run();
  EXPECT_EQ(run.read_only, 1);
  EXPECT_EQ(f.ui.status_lines.back(), "Generated 1 of 2 documents (1  read-only document).");
  EXPECT_EQ(f.LogLines()[10], kIndent + ">Read-only document. Generation skipped.");

  f.display.skip_read_only = 0;
  run = Run();
  EXPECT_EQ(run.end, RunEnd::kHalted);
  const std::vector<std::string> lines = f.LogLines();
  const std::vector<std::string> tail(lines.begin() + 9, lines.end());
  const std::vector<std::string> expected_tail = {
      "0000:0001 <dir>/site/b.html",
      kIndent + "ERROR: Read-only document. Project generation halted.",
      "",
      "Error in Project: \tSite\t\t<time>",
      "",
      "ERRORS:   1",
      "",
      "Generated 1 of 2 documents with 1 error\t\tSee Log File.",
      "",
      "Error processing file: <dir>/site/b.html.",
      "This file may be a read-only file.",
      "Project generation halted.",
  };
  EXPECT_EQ(tail, expected_tail);
  EXPECT_EQ(f.StatusLines().back(), "Generated 1 of 2 documents with 1 error\t\tSee Log File.");
  EXPECT_EQ(f.ReadText("site/b.html"), "old\r\n");
  EXPECT_EQ(f.ReadText("temp/generate.txt"), f.Path("site/a.html") + "\r\n");
}

// A killed run leaves hidden temporary files; a full disk half-way through a document fails that
// document only, and the old document stays whole.
TEST_F(GenerationRunTest, LeftoversAreRemovedAndAFullDiskLosesNothing) {
  f.WriteText("src/project.txt", "[Main]\r\na.html,page.tpl!\r\nb.html,page.tpl!\r\n");
  f.WriteText("src/page.tpl", "new page\r\n");
  f.WriteText("site/b.html", "old b\r\n");
  f.WriteText("site/.gone.html.pentrak-new", "left by a killed run");
  f.WriteText("site/.b.html.pentrak-new", "left by a killed run");
  f.WriteText("site/notes.pentrak-new", "not ours");
  f.options.ignore_generation_errors = 1;
  f.fs.SetFaultHook([&](FileOp op, const std::string& path) {
    return op == FileOp::kWrite && path == f.Path("site/.b.html.pentrak-new") ? ENOSPC : 0;
  });
  GenerationRun run = Run();
  f.fs.SetFaultHook(nullptr);

  EXPECT_EQ(run.generated, 1);
  EXPECT_EQ(run.errors, 1);
  EXPECT_EQ(run.last_error_description, "No space left on device (" + f.Path("site/b.html") + ")");
  EXPECT_EQ(f.ReadText("site/a.html"), "new page\r\n");
  EXPECT_EQ(f.ReadText("site/b.html"), "old b\r\n");
  EXPECT_EQ(f.fs.FilesBelow(f.Path("site")),
            (std::vector<std::string>{"a.html", "b.html", "notes.pentrak-new"}));
}

TEST_F(GenerationRunTest, StopRequestDuringLastDocumentOfAFolderEndsBeforeTheNext) {
  f.WriteText("src/project.txt", "[Main]\r\na.gif\r\nb.gif\r\n[News]\r\nc.gif\r\n");
  f.ui.stop_on_service_call = 2;
  GenerationRun run = Run();
  EXPECT_EQ(run.end, RunEnd::kStopped);
  EXPECT_EQ(run.total, 2);
  EXPECT_TRUE(f.state.stop_requested);
  const std::vector<std::string> lines = f.LogLines();
  EXPECT_EQ(lines[12], "");
  EXPECT_EQ(lines[13], "Stopped Project:  \tSite\t\t<time>");
  EXPECT_EQ(lines[19], "Static Documents:     2");
  EXPECT_EQ(lines.back(), "Generation Time:      0 seconds");
  EXPECT_EQ(f.ui.status_lines.back(), "Generated 0 of 2 documents (2  static documents).");

  // The next run clears the request.
  f.ui.stop_on_service_call = 0;
  EXPECT_EQ(Run().total, 3);
  EXPECT_FALSE(f.state.stop_requested);
}

TEST_F(GenerationRunTest, DocumentNameIsTheFirstFieldAsWritten) {
  // Neither the resolved path, which names the author's folders, nor the optimization flag.
  f.WriteText("src/project.txt", "[News]\r\nnews\\index.html -o1,page.tpl!\r\n");
  f.WriteText("src/page.tpl", "<p>[@PENTRAK_DOCUMENT_NAME]</p>\r\n");
  f.fs.CreateFolderPath(f.Path("site/news/"));
  EXPECT_EQ(Run().generated, 1);
  EXPECT_EQ(f.ReadText("site/news/index.html"), "<p>news\\index.html</p>\r\n");
}

TEST_F(GenerationRunTest, NarrowScopesAndFiveDigitIndexes) {
  // A folder run still loads the project-wide files; the document run looks at one document.
  f.project.max_docs = 10001;
  f.SizeTables();
  std::string definition = "Globals=g.par!\r\n[Main]\r\n";
  for (int d = 0; d <= 10000; ++d) definition += "d" + std::to_string(d) + ".gif\r\n";
  f.WriteText("src/project.txt", definition);
  f.WriteText("src/g.par", "[@G]:\r\ng\r\n[@]\r\n");
  GenerationRun run = Run(kScopeDocument, 0, 10000);
  EXPECT_EQ(run.total, 1);
  std::vector<std::string> lines = f.LogLines();
  const std::vector<std::string> expected = {"----:---- Globals",
                                             "",
                                             "0000:---- Main",
                                             "",
                                             "0000:10000 <dir>/site/d10000.gif",
                                             kIndent + ">Static document, generation skipped",
                                             "",
                                             ""};
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 2, lines.begin() + 10), expected);
  EXPECT_EQ(f.ui.status_lines.back(), "Generated 0 of 1 document (1  static document).");

  f.project.max_docs = 1;
  f.project.max_folders = 10001;
  f.SizeTables();
  definition.clear();
  for (int i = 0; i <= 10000; ++i) definition += "[F" + std::to_string(i) + "]\r\nx.gif\r\n";
  f.WriteText("src/project.txt", definition);
  run = Run(kScopeFolder, 10000);
  EXPECT_EQ(run.total, 1);
  lines = f.LogLines();
  EXPECT_EQ(lines[4], "10000:---- F10000");
  EXPECT_EQ(lines[6], "10000:0000 <dir>/site/x.gif");
}

TEST(RunSummaryTest, StatusLineNamesEveryNonZeroCount) {
  struct Case {
    GenerationRun run;
    bool logging;
    const char* expected;
  };
  auto counts = [](int generated, int total, int current, int statics, int read_only, int errors,
                   int missing, int warnings) {
    GenerationRun run;
    run.generated = generated;
    run.total = total;
    run.current = current;
    run.statics = statics;
    run.read_only = read_only;
    run.errors = errors;
    run.missing_files = missing;
    run.warnings = warnings;
    return run;
  };
  const Case cases[] = {
      {counts(6, 10, 3, 1, 0, 0, 0, 1), true,
       "Generated 6 of 10 documents with 1 warning (3  current documents, 1  static "
       "document).\t\tSee Log File."},
      {counts(6, 10, 3, 1, 0, 0, 0, 1), false,
       "Generated 6 of 10 documents with 1 warning (3  current documents, 1  static document)."},
      {counts(1, 1, 0, 0, 0, 0, 0, 0), true, "Generated 1 of 1 document."},
      {counts(2, 5, 1, 0, 2, 1, 2, 2), true,
       "Generated 2 of 5 documents with 3 errors (2 missing files) and 2 warnings (2  read-only "
       "documents, 1  current document).\t\tSee Log File."},
  };
  for (const Case& c : cases) EXPECT_EQ(RunSummary(c.run, c.logging), c.expected);
}

// The log is read while the run goes on: at every point where the user can look (events
// serviced, a question, the error message) it must already hold every line written so far.
TEST_F(GenerationRunTest, LogIsCompleteWheneverTheUserCanLook) {
  f.project.project_macro_file = "";
  f.options.ignore_missing_file_errors = 0;
  f.WriteText("src/page.tpl", "[@BODY]\r\n");
  std::string definition = "[Main]\r\n";
  for (int d = 1; d <= 5; ++d) {
    std::string n = std::to_string(d);
    definition += "d" + n + ".html,page.tpl,d" + n + ".par!\r\n";
    if (d != 4) f.WriteText("src/d" + n + ".par", "[@BODY]:\r\nBody " + n + "\r\n[@]\r\n");
  }
  f.WriteText("src/project.txt", definition);
  std::vector<std::string> looks;
  f.ui.on_look = [&] { looks.push_back(f.Masked(f.ReadText("temp/pentrak.txt"))); };

  GenerationRun run = Run();

  auto document = [](int d) {
    return "0000:000" + std::to_string(d - 1) + " <dir>/site/d" + std::to_string(d) + ".html\r\n" +
           kIndent + ">Generated\r\n\r\n";
  };
  const std::string head =
      "Starting Project: \tSite\t\t<time>\r\n\r\n----:---- Globals\r\n\r\n0000:---- Main\r\n\r\n";
  const std::string three = head + document(1) + document(2) + document(3);
  const std::string at_question = three + "0000:0003 <dir>/site/d4.html\r\n" + kIndent +
                                  "ERROR: Could not open file at <dir>/src/d4.par.\r\n";
  const std::string halted = at_question +
                             "\r\nError in Project: \tSite\t\t<time>\r\n"
                             "\r\nERRORS:   1  (1 missing file)\r\n"
                             "\r\nGenerated 3 of 4 documents with 1 error (1 missing file)"
                             "\t\tSee Log File.\r\n"
                             "\r\nError opening file: <dir>/src/d4.par.\r\n\r\n"
                             "Project generation halted.\r\n";
  EXPECT_EQ(run.end, RunEnd::kHalted);
  // Events are serviced before each of the four documents reached; then the question and the
  // error report.
  ASSERT_EQ(looks.size(), 6u);
  EXPECT_EQ(looks[0], head);
  EXPECT_EQ(looks[1], head + document(1));
  EXPECT_EQ(looks[3], three);
  EXPECT_EQ(looks[4], at_question);
  EXPECT_EQ(looks[5], at_question);
  EXPECT_EQ(f.Masked(f.ReadText("temp/pentrak.txt")), halted);
}

}  // namespace
}  // namespace pentrak
