#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTimer>
#include <regex>

#include "gui/gui_test_support.h"
#include "gui/search_window.h"

namespace pentrak {
namespace {

// Globals, a folder's globals, a template shared by three documents, their content files (one
// of them missing), and two generated documents.
void WriteSmallProject(ToolProject& project) {
  project.Write(project.Source("globals.par"), "[@Title]:Tools\r\n");
  project.Write(project.Source("main.par"), "[@Menu]:home\r\n");
  project.Write(project.Source("page.tpl"), "<h1>[@Title]</h1>\r\n[@Body]\r\n");
  project.Write(project.Source("index.par"), "[@Body]:Title and Title again\r\n");
  project.Write(project.Source("about.par"), "[@Body]:about\r\n");
  project.Write(project.Document("index.html"), "<h1>Title</h1>\r\n<p>TITLE</p>\r\n");
  project.Write(project.Document("about.html"), "<p>about</p>\r\n");
  project.Open(
      "Globals=globals.par!\r\n[Main]\r\nGlobals=main.par!\r\nindex.html,page.tpl,index.par!\r\n"
      "about.html,page.tpl,about.par!\r\n[News]\r\nnews.html,page.tpl,news.par!\r\n");
}

TEST(SearchWindow, ListsWhatTheResultsFileHoldsForEachKindOfSearch) {
  DesktopFixture desktop;
  ASSERT_TRUE(desktop.Open());
  ToolProject project(desktop);
  WriteSmallProject(project);
  const std::string& results_file = desktop.workbench.work_files.results_file;

  desktop.Trigger("mnuSearch");
  auto* form = desktop.Find<SearchForm>("frmSearch");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->windowTitle(), "Find");
  auto* find = form->findChild<QLineEdit*>("txtFind");
  auto* search = form->findChild<QPushButton*>("cmdSearch");
  EXPECT_FALSE(search->isEnabled());  // nothing to find yet
  QTest::keyClicks(find, "Title");
  QTest::keyClick(find, Qt::Key_Return);  // the default button

  auto* results = form->findChild<QAbstractItemView*>("lstResults");
  std::vector<std::string> listed = ListLines(results);
  EXPECT_EQ(listed, (std::vector<std::string>{project.Source("globals.par") + " (1)",
                                              project.Source("page.tpl") + " (1)",
                                              project.Source("index.par") + " (2)"}));
  std::vector<std::string> file = desktop.workbench.fs.ReadLines(results_file);
  EXPECT_EQ(listed, ResultsFromResultsFile(file));
  std::vector<std::string> status =
      ListLines(form->findChild<QAbstractItemView*>("lstSearchStatus"));
  // globals, main, page, index and about are checked; news.par does not exist.
  EXPECT_EQ(status.back(), "Complete. 4 occurrences in 3 files. 5 files checked. ");
  EXPECT_EQ(file.back(), status.back());

  // The detailed results: an entry per file, one per line with hits below it.
  auto* details = form->findChild<QAbstractItemView*>("tvwDetailedResults");
  EXPECT_EQ(ListLines(details),
            (std::vector<std::string>{
                project.Source("globals.par"), "globals.par (1) - [@Title]:Tools",
                project.Source("page.tpl"), "page.tpl (1) - <h1>[@Title]</h1>",
                project.Source("index.par"), "index.par (2) - [@Body]:Title and Title again"}));
  QModelIndex index_line = details->model()->index(5, 0);

  // A double-click on a line opens the editor at it; touch stands in for the editor and names
  // a file after what it was given.
  ProgramOptions& options = desktop.workbench.options;
  options.editor = "/usr/bin/touch";
  options.editor_options = "%FILE%.line%LINE%";
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
  details->setCurrentIndex(index_line);
  QRect rect = details->visualRect(index_line);
  QTest::mouseClick(details->viewport(), Qt::LeftButton, {}, rect.center());
  QTest::mouseDClick(details->viewport(), Qt::LeftButton, {}, rect.center());
  EXPECT_TRUE(DesktopFixture::WaitFor(
      [&] { return desktop.workbench.fs.FileExists(project.Source("index.par.line1")); }));

  // Definitions only shows what it looks for: only globals.par defines the macro, page.tpl
  // merely uses it.
  auto* definitions = form->findChild<QCheckBox*>("ckDefinitionsOnly");
  definitions->setChecked(true);
  find->setText("[@Title]");
  EXPECT_EQ(form->findChild<QLabel*>("lblPattern")->text(),
            "Counts the lines that begin with \"[@Title]:\" or \"[@Title(@\" and hold \"]:\".");
  search->click();
  EXPECT_EQ(ListLines(results), std::vector<std::string>{project.Source("globals.par") + " (1)"});
  definitions->setChecked(false);

  // Documents mode searches the generated documents, here without regard to case.
  desktop.Trigger("mnuSearchDocuments");
  EXPECT_EQ(form->windowTitle(), "Find in Documents");
  EXPECT_FALSE(form->findChild<QCheckBox*>("ckTemplates")->isVisibleTo(form));
  form->findChild<QCheckBox*>("ckIgnoreCase")->setChecked(true);
  find->setText("title");
  search->click();
  EXPECT_EQ(ListLines(results), std::vector<std::string>{project.Document("index.html") + " (2)"});
  EXPECT_EQ(ListLines(details), (std::vector<std::string>{project.Document("index.html"),
                                                          "index.html (1) - <h1>Title</h1>",
                                                          "index.html (1) - <p>TITLE</p>"}));
}

TEST(SearchWindow, ALongSearchShowsItsResultsAsItGoesAndStopEndsIt) {
  DesktopFixture desktop;
  ASSERT_TRUE(desktop.Open());
  ToolProject project(desktop);
  constexpr int kFiles = 20000;
  project.OpenLarge(kFiles);
  ASSERT_EQ(desktop.workbench.definition.document_count, kFiles);

  desktop.Trigger("mnuSearch");
  auto* form = desktop.Find<SearchForm>("frmSearch");
  auto* search = form->findChild<QPushButton*>("cmdSearch");
  auto* close = form->findChild<QPushButton*>("cmdClose");
  auto* results = form->findChild<QAbstractItemView*>("lstResults");
  auto* details = form->findChild<QAbstractItemView*>("tvwDetailedResults");
  form->findChild<QLineEdit*>("txtFind")->setText("x");
  QString caption_while_running;
  bool close_enabled_while_running = true;
  bool generate_enabled_while_running = true;
  std::vector<std::string> results_while_running;
  std::vector<std::string> details_while_running;
  desktop.ui.service_calls = 0;
  desktop.ui.on_service = [&](int call) {
    if (call == 2) {
      caption_while_running = search->text();
      close_enabled_while_running = close->isEnabled();
      generate_enabled_while_running = desktop.Find<QAction>("mnuGenerateProject")->isEnabled();
      form->close();
    }
    if (call == 3) desktop.window->close();  // the main window waits for the search as well
    // Once the lists show results, Search is pressed again (it reads Stop), through the event
    // loop as a person presses it.
    if (call <= 3 || !results_while_running.empty() || results->model()->rowCount() < 2) return;
    results_while_running = HeldLines(results);
    details_while_running = HeldLines(details);
    QTimer::singleShot(0, search, &QPushButton::click);
  };
  search->click();
  desktop.ui.on_service = nullptr;

  EXPECT_EQ(caption_while_running, "&Stop");
  EXPECT_FALSE(close_enabled_while_running);
  EXPECT_FALSE(generate_enabled_while_running);
  ASSERT_GE(desktop.ui.messages.size(), 2u);
  for (std::size_t i = desktop.ui.messages.size() - 2; i < desktop.ui.messages.size(); ++i) {
    EXPECT_EQ(desktop.ui.messages[i].title, "Search In Progress");
    EXPECT_EQ(desktop.ui.messages[i].text,
              "There is a search in progress. Please stop the search before closing the form.");
  }
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(desktop.window->isVisible());

  // Stopped far short of the end.
  std::string summary = ListLines(form->findChild<QAbstractItemView*>("lstSearchStatus")).back();
  std::smatch match;
  ASSERT_TRUE(std::regex_match(
      summary, match,
      std::regex(
          "Stopped\\. ([0-9]+) occurrences in ([0-9]+) files\\. ([0-9]+) files checked\\. ")))
      << summary;
  const int checked = std::stoi(match[3]);
  EXPECT_EQ(std::stoi(match[1]), checked);
  EXPECT_LT(checked, kFiles / 2);
  // Every file checked, in order, in both lists: each template holds one "x".
  std::vector<std::string> expected_results;
  std::vector<std::string> expected_details;
  for (int i = 0; i < checked; ++i) {
    std::string name = "t" + std::to_string(10000 + i) + ".tpl";
    expected_results.push_back(project.Source(name) + " (1)");
    expected_details.push_back(project.Source(name));
    expected_details.push_back(name + " (1) - <p>x</p>");
  }
  std::vector<std::string> listed = ListLines(results);
  EXPECT_EQ(listed, expected_results);
  std::vector<std::string> detailed = ListLines(details);
  EXPECT_EQ(detailed, expected_details);
  // While the search went on both lists held their beginnings.
  EXPECT_LT(results_while_running.size(), listed.size());
  EXPECT_TRUE(
      std::equal(results_while_running.begin(), results_while_running.end(), listed.begin()));
  EXPECT_FALSE(details_while_running.empty());
  EXPECT_TRUE(
      std::equal(details_while_running.begin(), details_while_running.end(), detailed.begin()));

  EXPECT_EQ(search->text(), "&Search");
  EXPECT_TRUE(close->isEnabled());
  EXPECT_TRUE(desktop.Find<QAction>("mnuGenerateProject")->isEnabled());
  close->click();
  EXPECT_FALSE(form->isVisible());
}

TEST(ToolWindows, EachHasADefaultButtonEscapeAndDistinctMnemonics) {
  DesktopFixture desktop;
  ASSERT_TRUE(desktop.Open());
  struct Case {
    const char* menu;
    const char* window;
    const char* default_button;
  };
  const Case cases[] = {{"mnuSearch", "frmSearch", "cmdSearch"},
                        {"mnuSearchDocuments", "frmSearch", "cmdSearch"},
                        {"mnuReplace", "frmReplace", "cmdReplace"},
                        {"mnuReplaceSpecial", "frmReplaceSpecial", "cmdReplace"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.menu);
    desktop.Trigger(c.menu);
    auto* window = desktop.Find<QWidget>(c.window);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_TRUE(window->findChild<QPushButton*>(c.default_button)->isDefault());
    std::multimap<QChar, QString> letters = Mnemonics(window);
    for (auto it = letters.begin(); it != letters.end(); ++it) {
      EXPECT_EQ(letters.count(it->first), 1u) << FromQt(it->second);
    }
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
  }
}

}  // namespace
}  // namespace pentrak
