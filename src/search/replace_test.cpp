#include "search/replace.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "platform/error.h"
#include "platform/file_system.h"
#include "testing/test_context.h"

namespace pentrak {
namespace {

using Lines = std::vector<std::string>;

TEST(ReplaceTest, ReplacesInOneLine) {
  struct Case {
    const char* line;
    const char* find;
    const char* replacement;
    bool ignore_case;
    bool count_only;
    const char* expected_line;
    int expected_count;
  };
  const Case cases[] = {
      {"aaa", "a", "aa", false, false, "aaaaaa", 3},  // inserted text is not scanned again
      {"xyx", "x", "xx", false, false, "xxyxx", 2},
      {"abc ABC", "abc", "-", true, false, "- -", 2},
      {"abc ABC", "abc", "-", false, false, "- ABC", 1},
      {"a.b.c", ".", "", false, false, "abc", 2},
      {"aaa", "a", "b", false, true, "aaa", 3},
      {"aaa", "", "b", false, false, "aaa", 0},
      {"", "a", "b", false, false, "", 0},
  };
  for (const Case& c : cases) {
    std::string line = c.line;
    EXPECT_EQ(ReplaceInLine(line, c.find, c.replacement, c.ignore_case, c.count_only),
              c.expected_count)
        << c.line << " / " << c.find;
    EXPECT_EQ(line, c.expected_line) << c.line << " / " << c.find;
  }
}

// Main/index.html uses page.tpl (3 hits), locked.par (read-only, 4 hits), gone.par (missing)
// and plain.par (no hit).
void AddReplaceProject(TestContext& p) {
  int main = p.AddFolder("Main");
  p.AddDocument(main, "index.html", "page.tpl", {"locked.par", "gone.par", "plain.par"});
  p.WriteText("src/page.tpl", "aaa\r\nbcd");
  p.WriteText("src/locked.par", "a a\r\na a\r\n");
  p.fs.SetReadOnly(p.Source("locked.par"), true);
  p.WriteText("src/plain.par", "zzz\r\n");
}

TEST(ReplaceTest, RunReplacesLeavesReadOnlyFilesAndReports) {
  TestContext p;
  AddReplaceProject(p);
  ReplaceRequest request;
  request.find_text = "a";
  request.replacement = "aa";
  request.detailed = true;
  ReplaceSummary summary = DoReplace(p.Search(), request);

  ASSERT_EQ(p.ui.messages.size(), 1u);
  EXPECT_EQ(p.ui.messages[0].title, "Confirm Replace");
  EXPECT_EQ(p.ui.messages[0].text, "Are you sure you want to replace \"a\" with \"aa\"?");
  EXPECT_EQ(p.ui.messages[0].icon, Icon::kQuestion);
  EXPECT_EQ(p.ui.messages[0].buttons, Buttons::kOkCancel);

  EXPECT_EQ(p.ReadText("src/page.tpl"), "aaaaaa\r\nbcd");
  EXPECT_EQ(p.ReadText("src/locked.par"), "a a\r\na a\r\n");
  EXPECT_TRUE(p.fs.IsReadOnly(p.Source("locked.par")));
  EXPECT_EQ(p.ReadText("src/plain.par"), "zzz\r\n");
  EXPECT_EQ(summary.replacements, 3);
  EXPECT_EQ(summary.read_only_occurrences, 4);

  std::string tpl = p.Source("page.tpl");
  std::string locked = p.Source("locked.par");
  Lines summary_lines = {"Complete. 3 replacements in 1 file. ",
                         "4 occurrences in 1 read-only file not replaced.",
                         "3 files checked (1 read-only file)."};
  Lines expected_file = {"Replacing: \"a\" with: \"aa\"",
                         "",
                         tpl,
                         ">3 replacements made.",
                         "",
                         locked,
                         ">4 occurrences found in read-only file. Not replaced.",
                         "",
                         p.Source("gone.par"),
                         ">File does not exist",
                         "",
                         p.Source("plain.par"),
                         ">Not found",
                         "",
                         ""};
  expected_file.insert(expected_file.end(), summary_lines.begin(), summary_lines.end());
  EXPECT_EQ(p.fs.ReadLines(p.work_files.results_file), expected_file);
  EXPECT_EQ(p.results.results, (Lines{tpl + " (3)", locked + " (4)"}));
  ASSERT_EQ(p.results.details.size(), 3u);
  EXPECT_EQ(DetailText(p.results.details[0]), tpl + " (3) - aaaaaa");
  EXPECT_EQ(p.results.details[2].line_number, 2);
  Lines tail(p.ui.status_lines.end() - 3, p.ui.status_lines.end());
  EXPECT_EQ(tail, summary_lines);
}

TEST(ReplaceTest, CancelOrAnEmptyFindChangesNothing) {
  TestContext p;
  AddReplaceProject(p);
  p.ui.message_answers.push_back(Answer::kCancel);
  ReplaceRequest request;
  request.find_text = "a";
  request.replacement = "b";
  const std::string results_before = p.fs.ReadFile(p.work_files.results_file);
  EXPECT_TRUE(DoReplace(p.Search(), request).cancelled);
  EXPECT_EQ(p.fs.ReadFile(p.work_files.results_file), results_before);
  EXPECT_FALSE(p.fs.FileExists(p.work_files.replace_work_file));
  EXPECT_EQ(p.ReadText("src/page.tpl"), "aaa\r\nbcd");

  p.WriteText("src/page.tpl", "aaa\r\n");
  request.find_text = "";
  ReplaceSummary summary = DoReplace(p.Search(), request);
  EXPECT_EQ(summary.replacements, 0);
  EXPECT_EQ(p.ReadText("src/page.tpl"), "aaa\r\n");
  EXPECT_EQ(p.ReadText("src/locked.par"), "a a\r\na a\r\n");
  EXPECT_EQ(p.fs.ReadLines(p.work_files.results_file).back(),
            "3 files checked (1 read-only file).");
}

// A full disk in the middle of a run, while the second of three files is copied to the work
// file or rewritten: the run ends with an error naming that file; the first file keeps its new
// text, and the second and third are byte for byte what they were.
TEST(ReplaceTest, AFullDiskInTheMiddleOfARunLosesNoOriginal) {
  struct Case {
    const char* fault_at;  // the path whose write fails, below the test folder
    int failing_write;     // the how-manyth write to it fails
    const char* error;
  };
  const Case cases[] = {
      // The work file takes each changed file's old text in turn: the first is a.tpl's.
      {"temp/pentrak.rpl", 2, "Error copying file <b> to <rpl>. No space left on device."},
      // The hidden temporary fails once b's new text is in it, as a disk filling up does.
      {"src/.b.par.pentrak-new", 1, "Error rewriting file <b>. No space left on device."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault_at);
    TestContext p;
    int main = p.AddFolder("Main");
    p.AddDocument(main, "index.html", "a.tpl", {"b.par", "c.par"});
    p.WriteText("src/a.tpl", "a one\r\n");
    p.WriteText("src/b.par", "a two\r\nno CR LF at the end: a");
    p.WriteText("src/c.par", "a three\n");
    const std::string fault_path = p.Path(c.fault_at);
    int writes_seen = 0;
    p.fs.SetFaultHook([&](FileOp op, const std::string& path) {
      bool fail = op == FileOp::kWrite && path == fault_path && ++writes_seen == c.failing_write;
      return fail ? ENOSPC : 0;
    });
    ReplaceRequest request;
    request.find_text = "a";
    request.replacement = "A";
    std::string error = c.error;
    error.replace(error.find("<b>"), 3, p.Source("b.par"));
    if (error.find("<rpl>") != std::string::npos) {
      error.replace(error.find("<rpl>"), 5, p.work_files.replace_work_file);
    }
    EXPECT_EQ(ThrownDescription([&] { DoReplace(p.Search(), request); }), error);
    p.fs.SetFaultHook(nullptr);
    EXPECT_EQ(p.ReadText("src/a.tpl"), "A one\r\n");
    EXPECT_EQ(p.ReadText("src/b.par"), "a two\r\nno CR LF at the end: a");
    EXPECT_EQ(p.ReadText("src/c.par"), "a three\n");
    EXPECT_EQ(p.fs.FilesBelow(p.Path("src")), (Lines{"a.tpl", "b.par", "c.par"}));
  }
}

TEST(ReplaceTest, ALinkedSourceKeepsItsLinkAndGetsTheNewTextInItsTarget) {
  TestContext p;
  p.fs.CreateFolderPath(p.Source("shared/"));
  p.WriteText("src/shared/page.tpl", "aaa\r\n");
  const std::string link = p.Source("page.tpl");
  ASSERT_EQ(::symlink("shared/page.tpl", link.c_str()), 0);
  EXPECT_EQ(
      ReplaceInFile(p.fs, p.work_files.replace_work_file, link, "a", "b", false, false, nullptr),
      3);
  struct stat st {};
  ASSERT_EQ(::lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(p.ReadText("src/shared/page.tpl"), "bbb\r\n");
}

// The whole file is searched at once; what is replaced is what a replace line by line replaces,
// and a file that comes out the same is not written at all.
TEST(ReplaceTest, WholeFileReplaceWorksAsLineByLine) {
  struct Case {
    const char* before;
    const char* find;
    bool ignore_case;
    const char* after;
    int count;
  };
  const Case cases[] = {
      {"xa\r\nab", "a\r", false, "xa\r\nab", 0},
      {"a\nb\n", "\n", false, "a\nb\n", 0},
      {"a\nb\n", "b", false, "a\n-\n", 1},
      {"a\r\nb\nc", "c", false, "a\r\nb\n-", 1},
      {"one\rtwo\r\n", "\rt", false, "one-wo\r\n", 1},
      {"ab\r", "b\r", false, "a-", 1},
      {"aaaa\r\nAA\r\n", "aa", true, "--\r\n-\r\n", 3},
      {"The Quick brown FOX\r\n", "quick BROWN fox", true, "The -\r\n", 1},
      {"p\r\nq\r\n", "z", false, "p\r\nq\r\n", 0},
      {"p\r\nq\r\n", "p", false, "-\r\nq\r\n", 1},
  };
  constexpr std::int64_t kOld = 1000000000;
  for (const Case& c : cases) {
    TestContext p;
    p.WriteText("src/f.txt", c.before);
    p.fs.SetLastModified(p.Source("f.txt"), kOld);
    int count = ReplaceInFile(p.fs, p.work_files.replace_work_file, p.Source("f.txt"), c.find, "-",
                              c.ignore_case, false, nullptr);
    SCOPED_TRACE(::testing::PrintToString(std::string(c.before)) + " / " + c.find);
    EXPECT_EQ(count, c.count);
    EXPECT_EQ(p.ReadText("src/f.txt"), c.after);
    EXPECT_EQ(p.fs.LastModified(p.Source("f.txt")) == kOld, std::string(c.before) == c.after);
  }
}

TEST(ReplaceTest, RepairsLoneCarriageReturns) {
  struct Case {
    const char* before;
    const char* after;
    const char* last_status;
  };
  const Case cases[] = {
      {"one\rtwo\r\nthree\rfour\nfive\r", "one\r\ntwo\r\nthree\r\nfour\nfive\r\n",
       "File fixed. 3 occurrences replaced."},
      {"p\r\nq\r\n", "p\r\nq\r\n", "File fixed. 0 occurrences replaced."},
      {"p\nq", "p\nq", "File fixed. 0 occurrences replaced."},
  };
  for (const Case& c : cases) {
    TestContext p;
    p.WriteText("src/f.txt", c.before);
    FixLineEndings(p.fs, p.ui, p.work_files.replace_work_file, p.Source("f.txt"));
    EXPECT_EQ(p.ReadText("src/f.txt"), c.after);
    EXPECT_EQ(p.ui.status_lines, (Lines{"Processing File: " + p.Source("f.txt"), c.last_status}));
  }

  TestContext p;
  p.WriteText("src/locked.txt", "a\rb");
  p.fs.SetReadOnly(p.Source("locked.txt"), true);
  EXPECT_FALSE(FixLineEndings(p.fs, p.ui, p.work_files.replace_work_file, p.Source("locked.txt")));
  EXPECT_FALSE(FixLineEndings(p.fs, p.ui, p.work_files.replace_work_file, p.Source("none.txt")));
  EXPECT_EQ(p.ReadText("src/locked.txt"), "a\rb");
  EXPECT_EQ(p.ui.status_lines,
            (Lines{"Processing File: " + p.Source("locked.txt"),
                   "File is read-only and could not be fixed.",
                   "Processing File: " + p.Source("none.txt"), "File does not exist."}));
}

}  // namespace
}  // namespace pentrak
