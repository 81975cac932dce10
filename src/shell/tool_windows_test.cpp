#include "shell/tool_windows.h"

#include <gtest/gtest.h>

#include <vector>

#include "shell/workbench.h"
#include "testing/scripted_user_interface.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

using Lines = std::vector<std::string>;

class RecordedStatus : public StatusList {
 public:
  void Add(std::string_view line) override { lines.emplace_back(line); }
  void Clear() override { lines.clear(); }
  Lines lines;
};

// The program's user interface; while events are serviced it runs what the user does then.
class ClickingUserInterface : public ScriptedUserInterface {
 public:
  bool ServiceEvents() override {
    if (on_service) on_service();
    return ScriptedUserInterface::ServiceEvents();
  }
  std::function<void()> on_service;
};

// A project of one folder and one document whose content files 1.par to 3.par each hold "hit".
class ToolWindowTest : public ::testing::Test {
 protected:
  ToolWindowTest() {
    workbench.project.content_root = folder / "src/";
    workbench.project.tags.macro_start = "[@";
    workbench.project.tags.macro_end = "]";
    workbench.work_files.results_file = folder / "search.txt";
    workbench.work_files.replace_work_file = folder / "pentrak.rpl";
    workbench.fs.CreateFolder(folder / "src");
    Folder main;
    main.name = "Main";
    Document index;
    index.path = "index.html";
    index.content_files = {"1.par", "2.par", "3.par"};
    main.documents.push_back(index);
    workbench.definition.folders.push_back(main);
    for (const char* name : {"1.par", "2.par", "3.par"})
      workbench.fs.WriteFile(Source(name), "hit\r\n");
  }

  std::string Source(const std::string& name) const { return folder / "src/" + name; }

  TestFolder folder;
  ClickingUserInterface ui;
  Workbench workbench{ui, folder.path()};
  RecordedStatus status;
  RecordedResults results;
};

TEST_F(ToolWindowTest, TheRunButtonNeedsAFindTextAndAKindOfFile) {
  struct Case {
    bool documents;
    std::string find;
    bool any_kind;
    bool search_enabled;
    bool replace_enabled;
  };
  const Case cases[] = {
      {false, "x", true, true, true},    {false, "", true, false, false},
      {false, "x", false, false, false}, {true, "x", false, true, false},
      {true, "", false, false, false},
  };
  for (const Case& c : cases) {
    SearchWindow search = OpenSearchWindow(c.documents);
    ReplaceWindow replace;
    for (FileSelection* s : {&search.request.selection, &replace.request.selection}) {
      s->globals = s->folder_globals = s->templates = s->content_files = false;
      s->templates = c.any_kind;
    }
    search.request.find_text = replace.request.find_text = c.find;
    EXPECT_EQ(SearchButtonEnabled(search), c.search_enabled) << c.documents << c.find;
    EXPECT_EQ(ReplaceButtonEnabled(replace), c.replace_enabled) << c.documents << c.find;
    EXPECT_EQ(SearchWindowTitle(search), c.documents ? "Find in Documents" : "Find");
  }
}

TEST_F(ToolWindowTest, ASearchReportsInItsOwnWindowAndStopsOnItsOwnButton) {
  SearchWindow window = OpenSearchWindow(false);
  window.request.find_text = "hit";
  int changes = 0;
  window.run.on_change = [&] { ++changes; };
  std::vector<std::string_view> captions_during;
  ui.on_service = [&] {
    captions_during.push_back(RunButtonCaption(window.run, "Search"));
    EXPECT_FALSE(CloseButtonEnabled(window.run));
    EXPECT_FALSE(MayCloseSearchWindow(ui, window));
    PressSearch(workbench, window, status, results, 0, 0);  // the Stop click
  };
  PressSearch(workbench, window, status, results, 0, 0);

  EXPECT_EQ(captions_during, std::vector<std::string_view>{"Stop"});
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(window.summary.stopped);
  EXPECT_EQ(status.lines,
            (Lines{"Building File List...", "Searching: " + Source("1.par"), "1 occurrence found.",
                   "Stopped. 1 occurrence in 1 file. 1 file checked. "}));
  EXPECT_TRUE(ui.status_lines.empty());  // the main window's list is left alone
  EXPECT_EQ(results.results, Lines{Source("1.par") + " (1)"});
  EXPECT_EQ(RunButtonCaption(window.run, "Search"), "Search");
  EXPECT_TRUE(MayCloseSearchWindow(ui, window));
  EXPECT_EQ(changes, 2);

  // The next run starts without the old stop request and goes through the list.
  ui.on_service = nullptr;
  PressSearch(workbench, window, status, results, 0, 0);
  EXPECT_FALSE(window.summary.stopped);
  EXPECT_EQ(window.summary.occurrences, 3);
  EXPECT_EQ(workbench.fs.ReadLines(folder / "search.txt").back(),
            "Complete. 3 occurrences in 3 files. 3 files checked. ");
}

// What the replace does to each file, read-only ones included, is the replace test's.
TEST_F(ToolWindowTest, AReplaceAsksFirstAndCannotBeClosedWhileItRuns) {
  ReplaceWindow window;
  window.request.find_text = "hit";
  window.request.replacement = "miss";
  ui.on_service = [&] { EXPECT_FALSE(MayCloseReplaceWindow(ui, window)); };
  PressReplace(workbench, window, status, results, -1, -1);

  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].title, "Confirm Replace");
  EXPECT_EQ(ui.messages[1].title, "Operation In Progress");
  EXPECT_EQ(ui.messages[1].text,
            "There is an operation in progress. Please stop the operation before closing the "
            "form.");
  EXPECT_EQ(workbench.fs.ReadFile(Source("1.par")), "miss\r\n");
  EXPECT_EQ(status.lines.back(), "3 files checked.");  // its own list, not the main window's
  EXPECT_TRUE(MayCloseReplaceWindow(ui, window));
}

}  // namespace
}  // namespace pentrak
