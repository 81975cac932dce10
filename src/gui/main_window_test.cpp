#include <gtest/gtest.h>
#include <httplib.h>
#include <sys/stat.h>

#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <regex>

#include "gui/gui_test_support.h"
#include "settings/project_history.h"

namespace pentrak {
namespace {

const std::string kSample = "Pentrak CMS Overview (Sample)";

// A program that writes its arguments, one a line, to record (whole, once it has them all);
// returns the program.
std::string RecordingProgram(const TestFolder& folder, const std::string& record) {
  std::string script = folder / "record.sh";
  WriteFile(script, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + record + ".part'\nmv '" + record +
                        ".part' '" + record + "'\n");
  ::chmod(script.c_str(), 0755);
  return script;
}

TEST(MainWindow, StartsWithTheFirstRunQuestionsAndShowsTheSampleProject) {
  DesktopFixture desktop;
  ASSERT_TRUE(desktop.Open());
  ASSERT_GE(desktop.ui.messages.size(), 2u);
  EXPECT_EQ(desktop.ui.messages[0].title, "Create Default Initialization File");
  EXPECT_EQ(desktop.ui.messages[1].title, "Create Default Project History File");
  std::string project_file = desktop.folder / "overview/Pentrak CMS Overview.web";
  EXPECT_EQ(FromQt(desktop.window->windowTitle()),
            "Pentrak CMS - " + kSample + " - " + project_file);
  EXPECT_EQ(FromQt(desktop.Find<QLabel>("lblProjectStatus")->text()),
            "Project: " + kSample + " (8 Documents)");
  auto* folders = desktop.Find<QListWidget>("lstFolders");
  ASSERT_EQ(folders->count(), 3);
  EXPECT_EQ(folders->item(0)->text(), "Home");
  EXPECT_EQ(folders->item(2)->text(), "Project");
  std::vector<std::string> documents = ListLines(desktop.Find<QAbstractItemView>("lvwDocuments"));
  ASSERT_EQ(documents.size(), 3u);
  EXPECT_EQ(documents[2], "pentrak.gif");
  EXPECT_EQ(desktop.Find<QListWidget>("lvwTemplate")->item(0)->text(), "templates\\page.tpl");
  EXPECT_TRUE(desktop.Find<QLabel>("lblDocumentDetails")->text().contains("Optimization level: 1"));
  // However small the screen, the fixed-size window stays within it.
  EXPECT_TRUE(desktop.window->screen()->availableGeometry().contains(desktop.window->geometry()))
      << desktop.window->geometry().width() << "x" << desktop.window->geometry().height();

  desktop.workbench.options.enable_content_file_filter = 1;
  desktop.workbench.options.content_file_filter = ".par";
  desktop.Trigger("mnuRefreshProject");
  EXPECT_EQ(desktop.Find<QLabel>("lblContentFiles")->text(), "Content Files (using filter *.par)");
}

// A key that two actions share, or a menu letter two entries share, does nothing when pressed.
TEST(MainWindow, EveryKeyAndMenuLetterLeadsToOneCommand) {
  DesktopFixture desktop;
  ASSERT_TRUE(desktop.Open());
  std::map<QString, QString> by_key;
  for (QAction* action : desktop.window->findChildren<QAction*>()) {
    for (const QKeySequence& key : action->shortcuts()) {
      auto [at, added] = by_key.emplace(key.toString(), action->objectName());
      EXPECT_TRUE(added) << FromQt(key.toString()) << ": " << FromQt(at->second) << " and "
                         << FromQt(action->objectName());
    }
  }
  const std::pair<const char*, const char*> promised[] = {
      {"F5", "mnuGenerateProject"}, {"Ctrl+R", "mnuRefreshProject"}, {"Ctrl+H", "mnuReplace"}};
  for (const auto& [key, action] : promised) EXPECT_EQ(FromQt(by_key[key]), action) << key;

  auto letter = [](const QString& text) {
    const qsizetype at = text.indexOf('&');
    return at < 0 || at + 1 >= text.size() ? QChar() : text[at + 1].toLower();
  };
  // The window's own labels share their letters with the menu bar's.
  QList<QAction*> window_level = desktop.window->menuBar()->actions();
  QAction project_label(desktop.Find<QLabel>("lblProjects")->text());
  window_level.append(&project_label);
  std::vector<QList<QAction*>> groups = {window_level};
  for (QMenu* menu : desktop.window->menuBar()->findChildren<QMenu*>()) {
    groups.push_back(menu->actions());
  }
  for (const QList<QAction*>& group : groups) {
    std::map<QChar, QString> by_letter;
    for (QAction* action : group) {
      if (action->isSeparator()) continue;
      const QChar l = letter(action->text());
      EXPECT_FALSE(l.isNull()) << FromQt(action->text()) << " has no menu letter";
      if (l.isNull()) continue;
      auto [at, added] = by_letter.emplace(l, action->text());
      EXPECT_TRUE(added) << FromQt(at->second) << " and " << FromQt(action->text());
    }
  }
}

TEST(MainWindow, EachSwitchIsStoredInUiIniAtOnce) {
  DesktopFixture desktop;
  ASSERT_TRUE(desktop.Open());
  struct Case {
    const char* box;
    const char* line;
  };
  const Case cases[] = {{"ckShowPaths", "display-paths=1"},
                        {"ckShowAttributes", "display-attributes=1"},
                        {"ckShowMacros", "display-macros=1"},
                        {"ckGenerateModifiedOnly", "modified-only=1"},
                        {"ckSkipReadOnly", "skip-read-only=1"},
                        {"ckAutomaticallyCreateSubdirectories", "create-subdirectories=1"}};
  for (const Case& c : cases) {
    std::string before = ReadFile(desktop.folder / "ui.ini");
    desktop.Find<QAbstractButton>(c.box)->click();
    std::string after = ReadFile(desktop.folder / "ui.ini");
    EXPECT_EQ(before.find(c.line), std::string::npos) << c.box;
    EXPECT_NE(after.find(std::string(c.line) + "\r\n"), std::string::npos) << c.box;
  }
  // Show Paths shows a document as the definition holds it.
  EXPECT_EQ(ListLines(desktop.Find<QAbstractItemView>("lvwDocuments"))[2], "images\\pentrak.gif");
  // Show Macros lists the macros of the selected content file (index.par), without tags.
  auto* macros = desktop.Find<QListWidget>("lstMacros");
  EXPECT_TRUE(macros->isVisible());
  EXPECT_GT(macros->count(), 0);
  EXPECT_FALSE(macros->item(0)->text().startsWith("[@"));
}

// Both logs with the run's times and the program folder put aside.
std::string Masked(std::string log, const std::string& home) {
  for (std::size_t at; (at = log.find(home)) != std::string::npos;)
    log.replace(at, home.size(), "HOME");
  log = std::regex_replace(log, std::regex("(Project: ?\t[^\t]*\t\t)[^\r]*"), "$1TIME");
  return std::regex_replace(log, std::regex("(Generation Time: +)[^\r]*"), "$1TIME");
}

TEST(MainWindow, GeneratesTheProjectAsTheCommandLineDoes) {
  DesktopFixture desktop;
  ASSERT_TRUE(desktop.Open());
  std::vector<bool> during;
  desktop.ui.on_service = [&](int call) {
    if (call != 1) return;
    for (const char* name :
         {"mnuGenerateProject", "mnuGenerateFolder", "mnuGenerateDocument", "Generate",
          "GenerateFolder", "GenerateDocument", "mnuStopGeneration", "Stop"}) {
      during.push_back(desktop.Find<QAction>(name)->isEnabled());
    }
  };
  desktop.Trigger("mnuGenerateProject");
  EXPECT_EQ(during, (std::vector<bool>{false, false, false, false, false, false, true, true}));
  EXPECT_TRUE(desktop.Find<QAction>("Generate")->isEnabled());
  EXPECT_FALSE(desktop.Find<QAction>("Stop")->isEnabled());
  std::vector<std::string> status = desktop.StatusLines();
  ASSERT_GE(status.size(), 3u);
  EXPECT_EQ(status.front().rfind("Starting Project: \t" + kSample + "\t\t", 0), 0u);
  EXPECT_EQ(status.back(), "Generated 6 of 8 documents (2  static documents).");
  EXPECT_EQ(desktop.Find<QAbstractItemView>("lstStatus")->currentIndex().row(),
            static_cast<int>(status.size()) - 1);

  TestFolder cli_home;
  std::string command = std::string(PENTRAK_TEST_BINARY_DIR) + "/pentrak-cli --home '" +
                        cli_home.path() + "' generate --quiet >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(Masked(ReadFile(desktop.folder / "temp/pentrak.txt"), desktop.folder.path()),
            Masked(ReadFile(cli_home / "temp/pentrak.txt"), cli_home.path()));
  for (const char* document :
       {"index.html", "macros/index.html", "macros/parameters.html", "macros/conditions.html",
        "project/definition.html", "project/generation.html"}) {
    std::string ours = ReadFile(desktop.folder / "overview/" + document);
    EXPECT_FALSE(ours.empty()) << document;
    EXPECT_EQ(Masked(ours, desktop.folder.path()),
              Masked(ReadFile(cli_home / "overview/" + document), cli_home.path()))
        << document;
  }
}

// The status lines of documents prefix + n + ".html" for n from first, in order.
std::vector<std::string> ProcessingLines(const std::string& prefix, int first, int count) {
  std::vector<std::string> lines;
  for (int i = first; i < first + count; ++i) {
    lines.push_back("Processing:\t" + prefix + std::to_string(i) + ".html");
  }
  return lines;
}

TEST(MainWindow, ALongRunShowsItsLinesAsItGoesAndStopEndsIt) {
  DesktopFixture desktop;
  ASSERT_TRUE(desktop.Open());
  ToolProject project(desktop);
  constexpr int kDocuments = 20000;
  project.OpenLarge(kDocuments);
  auto* status = desktop.Find<QAbstractItemView>("lstStatus");
  // Once the list shows lines of the run, Stop is clicked, through the event loop as a person
  // clicks it.
  std::vector<std::string> while_running;
  desktop.ui.on_service = [&](int) {
    if (!while_running.empty() || status->model()->rowCount() < 3) return;
    while_running = HeldLines(status);
    QTimer::singleShot(0, desktop.Find<QAction>("Stop"), &QAction::trigger);
  };
  desktop.Trigger("Generate");
  desktop.ui.on_service = nullptr;

  std::vector<std::string> lines = desktop.StatusLines();
  ASSERT_GE(lines.size(), 3u);
  std::smatch match;
  ASSERT_TRUE(std::regex_match(lines.back(), match,
                               std::regex("Generated ([0-9]+) of ([0-9]+) documents\\.")))
      << lines.back();
  EXPECT_EQ(match[1], match[2]);
  const int generated = std::stoi(match[1]);
  EXPECT_LT(generated, kDocuments / 2);
  EXPECT_FALSE(std::filesystem::exists(project.Document("d29999.html")));
  // Every line, in order: the start, one per document generated, the end and the summary.
  EXPECT_EQ(lines.front().rfind("Starting Project: \tTools\t\t", 0), 0u);
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end() - 2),
            ProcessingLines(project.Document("d"), 10000, generated));
  EXPECT_EQ(lines[lines.size() - 2].rfind("Stopped Project:  \tTools\t\t", 0), 0u);
  EXPECT_EQ(status->currentIndex().row(), static_cast<int>(lines.size()) - 1);
  // While the run went on the list held its beginning.
  ASSERT_GE(while_running.size(), 3u);
  EXPECT_LT(while_running.size(), lines.size());
  EXPECT_TRUE(std::equal(while_running.begin(), while_running.end(), lines.begin()));
}

// The subdirectory question, asked in the real box between two runs of documents, holds the run
// until it is answered; the lines before it are in the list beside it.
TEST(MainWindow, AQuestionHoldsTheRunUntilAnswered) {
  DesktopFixture desktop;
  ASSERT_TRUE(desktop.Open());
  ToolProject project(desktop);
  constexpr int kBefore = 300;
  constexpr int kAfter = 300;
  std::string definition = "[Main]\r\n";
  for (int i = 0; i < kBefore; ++i) definition += "a" + std::to_string(i) + ".html,page.tpl\r\n";
  definition += "new/b.html,page.tpl\r\n";
  for (int i = 0; i < kAfter; ++i) definition += "c" + std::to_string(i) + ".html,page.tpl\r\n";
  project.Write(project.Source("page.tpl"), "<p>x</p>\r\n");
  project.Open(definition, "max-docs=1000\r\n");
  ASSERT_FALSE(desktop.Find<QAbstractButton>("ckAutomaticallyCreateSubdirectories")->isChecked());
  auto* status = desktop.Find<QAbstractItemView>("lstStatus");
  desktop.ui.real_questions = true;

  // Looks at the box as it opens and again 300 ms later, then answers Yes; a box left open
  // for five seconds is closed, which halts the run and fails the test.
  std::vector<std::string> beside_box;
  bool held = false;
  QElapsedTimer open_for;
  QTimer watcher;
  watcher.setInterval(10);
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (box == nullptr || box->objectName() != "frmMessageBox") return;
    if (!open_for.isValid()) {
      open_for.start();
      beside_box = HeldLines(status);
    } else if (open_for.elapsed() >= 5000) {
      box->close();
    } else if (open_for.elapsed() >= 300) {
      held = !std::filesystem::exists(project.Document("new/b.html")) &&
             !std::filesystem::exists(project.Document("c0.html")) &&
             std::filesystem::exists(project.Document("a" + std::to_string(kBefore - 1) + ".html"));
      box->findChild<QAbstractButton*>("cmdYes")->click();
      watcher.stop();
    }
  });
  watcher.start();
  desktop.Trigger("Generate");

  ASSERT_EQ(desktop.ui.questions.size(), 1u);
  EXPECT_EQ(desktop.ui.questions[0].title, "Subdirectory Does Not Exist");
  EXPECT_TRUE(held);
  std::vector<std::string> expected = ProcessingLines(project.Document("a"), 0, kBefore);
  ASSERT_EQ(beside_box.size(), expected.size() + 1);
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), beside_box.begin() + 1));
  expected.push_back("Processing:\t" + project.Document("new/b.html"));
  for (const std::string& line : ProcessingLines(project.Document("c"), 0, kAfter))
    expected.push_back(line);
  std::vector<std::string> lines = desktop.StatusLines();
  ASSERT_EQ(lines.size(), expected.size() + 3);
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end() - 2), expected);
  EXPECT_EQ(lines.back(), "Generated 601 of 601 documents.");
  EXPECT_TRUE(
      std::filesystem::exists(project.Document("c" + std::to_string(kAfter - 1) + ".html")));
}

TEST(MainWindow, RemoveProjectAsksFirst) {
  DesktopFixture desktop;
  ASSERT_TRUE(desktop.Open());
  ToolProject project(desktop);
  project.Open("[Main]\r\n");
  auto* projects = desktop.Find<QComboBox>("cboProjects");
  ASSERT_EQ(projects->count(), 2);
  EXPECT_EQ(projects->currentText(), "Tools");
  for (Answer answer : {Answer::kCancel, Answer::kOk}) {
    desktop.ui.message_answers = {answer};
    desktop.Trigger("mnuRemoveProject");
    EXPECT_EQ(desktop.ui.messages.back().title, "Remove Project");
    EXPECT_EQ(projects->count(), answer == Answer::kOk ? 1 : 2);
  }
  EXPECT_EQ(projects->currentText(), QString::fromStdString(kSample));
  EXPECT_TRUE(std::filesystem::exists(desktop.folder / "tools/tools.web"));
}

TEST(MainWindow, BatchFormGeneratesAndClosesOnlyForModeTwo) {
  for (bool close : {true, false}) {
    DesktopFixture desktop;
    // Written with "\" the path matches as well; the command line's batch test checks that.
    std::string project = desktop.folder / "overview/Pentrak CMS Overview.web";
    ASSERT_TRUE(desktop.Open(ReadProgramArguments(
        {close ? "/mode=2" : "/mode=1", "/project=" + project}, DesktopFrontEnd())));
    auto* timer = desktop.Find<QTimer>("Timer2");
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 1000);
    EXPECT_TRUE(DesktopFixture::WaitFor([&] {
      std::vector<std::string> status = desktop.StatusLines();
      return !status.empty() && status.back().rfind("Generated 6 of 8", 0) == 0;
    }));
    if (close) {
      EXPECT_TRUE(DesktopFixture::WaitFor([&] { return !desktop.window->isVisible(); }));
    }
    QApplication::processEvents();
    EXPECT_EQ(desktop.window->isVisible(), !close);
    EXPECT_TRUE(std::filesystem::exists(desktop.folder / "overview/index.html"));
  }
}

TEST(MainWindow, DocumentActionsStartTheConfiguredProgramOnTheResolvedPath) {
  DesktopFixture desktop;
  ASSERT_TRUE(desktop.Open());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(desktop.window.get()));
  std::string record = desktop.folder / "arguments.txt";
  std::string script = RecordingProgram(desktop.folder, record);
  ProgramOptions& options = desktop.workbench.options;
  options.browser = script;
  options.editor = script;
  options.documents_default_action = 1;
  auto* documents = desktop.Find<QAbstractItemView>("lvwDocuments");
  // The pop-up's Edit, then a double-click and Enter with the default action (the browser).
  for (int way : {0, 1, 2}) {
    std::filesystem::remove(record);
    QRect rect = documents->visualRect(documents->model()->index(0, 0));
    if (way == 0) {
      desktop.Trigger("mnuEditDocument");
    } else if (way == 1) {
      QTest::mouseClick(documents->viewport(), Qt::LeftButton, {}, rect.center());
      QTest::mouseDClick(documents->viewport(), Qt::LeftButton, {}, rect.center());
    } else {
      documents->setFocus();
      QTest::keyClick(documents, Qt::Key_Return);
    }
    ASSERT_TRUE(DesktopFixture::WaitFor([&] { return std::filesystem::exists(record); })) << way;
    EXPECT_EQ(ReadFile(record), desktop.folder / "overview/index.html" + "\n");
  }
  // Shift+F10 opens the list's pop-up from the keyboard.
  auto* popup = desktop.Find<QMenu>("mnuDocuments");
  QTest::keyClick(documents, Qt::Key_F10, Qt::ShiftModifier);
  EXPECT_TRUE(popup->isVisible());
  popup->close();
}

TEST(MainWindow, PreviewServesTheProjectUntilClickedAgain) {
  DesktopFixture desktop;
  ASSERT_TRUE(desktop.Open());
  std::string record = desktop.folder / "arguments.txt";
  desktop.workbench.options.browser = RecordingProgram(desktop.folder, record);
  auto* menu = desktop.Find<QAction>("mnuPreview");
  auto* button = desktop.Find<QAction>("Preview");
  EXPECT_EQ(FromQt(button->toolTip()), "Preview the Site in the Browser");

  desktop.Trigger("mnuPreview");
  EXPECT_TRUE(menu->isChecked());
  EXPECT_TRUE(button->isChecked());
  EXPECT_EQ(FromQt(button->toolTip()), "Stop Preview");
  ASSERT_TRUE(DesktopFixture::WaitFor([&] { return std::filesystem::exists(record); }));
  std::smatch url;
  std::string opened = ReadFile(record);
  ASSERT_TRUE(std::regex_match(opened, url, std::regex("http://127\\.0\\.0\\.1:([0-9]+)/\n")))
      << opened;
  EXPECT_EQ(desktop.StatusLines().back(), "Serving " + desktop.workbench.project.document_root +
                                              " at " + opened.substr(0, opened.size() - 1));
  // Starting generated the site, which is served (as the preview server test checks) until the
  // next click.
  EXPECT_TRUE(std::filesystem::exists(desktop.folder / "overview/index.html"));
  httplib::Client client("127.0.0.1", std::stoi(url[1]));
  client.set_connection_timeout(5);
  httplib::Result home = client.Get("/");
  ASSERT_TRUE(home);
  EXPECT_EQ(home->status, 200);

  desktop.Trigger("Preview");
  EXPECT_FALSE(menu->isChecked());
  EXPECT_FALSE(button->isChecked());
  EXPECT_EQ(desktop.StatusLines().back(), "Preview stopped.");
  EXPECT_FALSE(client.Get("/"));
}

TEST(MainWindow, ViewersListTheProjectsFilesAndEditTheSelectedOne) {
  DesktopFixture desktop;
  ASSERT_TRUE(desktop.Open());
  std::string record = desktop.folder / "arguments.txt";
  ProgramOptions& options = desktop.workbench.options;
  options.editor = RecordingProgram(desktop.folder, record);
  options.custom_options[1] = {"Record", options.editor};
  const std::string root = desktop.folder / "overview/";
  struct Case {
    const char* menu;
    const char* window;
    // As the project and its definition file write them; each lies below the sample's folder.
    std::vector<std::string> names;
  };
  for (const Case& c :
       {Case{"mnuViewTemplates", "frmViewTemplates", {"templates\\page.tpl"}},
        Case{"mnuViewContentFiles",
             "frmViewContentFiles",
             {"globals.par", "menu.par", "index.par", "macros\\section.par", "macros\\index.par",
              "macros\\parameters.par", "macros\\conditions.par", "project\\section.par",
              "project\\definition.par", "project\\generation.par"}},
        Case{"mnuProjectBrowser",
             "frmProjectBrowser",
             {"Pentrak CMS Overview.web", "overview.txt", "site.par"}}}) {
    desktop.Trigger(c.menu);
    auto* viewer = desktop.Find<QWidget>(c.window);
    ASSERT_NE(viewer, nullptr) << c.window;
    EXPECT_TRUE(viewer->isVisible()) << c.window;
    auto* files = viewer->findChild<QTreeWidget*>("lvwFiles");
    std::vector<std::string> names;
    std::vector<std::string> paths;
    for (int row = 0; row < files->topLevelItemCount(); ++row) {
      names.push_back(FromQt(files->topLevelItem(row)->text(0)));
      paths.push_back(FromQt(files->topLevelItem(row)->text(2)));
    }
    EXPECT_EQ(names, c.names) << c.window;
    std::vector<std::string> expected_paths;
    for (std::string name : c.names) {
      std::replace(name.begin(), name.end(), '\\', '/');
      expected_paths.push_back(root + name);
    }
    EXPECT_EQ(paths, expected_paths) << c.window;

    // Edit and a custom command act on the selected file: the last one, whose path the
    // project file's blanks put to the test.
    files->setCurrentItem(files->topLevelItem(files->topLevelItemCount() - 1));
    std::filesystem::remove(record);
    viewer->findChild<QPushButton*>("cmdEdit")->click();
    ASSERT_TRUE(DesktopFixture::WaitFor([&] { return std::filesystem::exists(record); }));
    EXPECT_EQ(ReadFile(record), expected_paths.back() + "\n") << c.window;
    std::filesystem::remove(record);
    viewer->findChild<QAction*>("mnuCustom2File")->trigger();
    ASSERT_TRUE(DesktopFixture::WaitFor([&] { return std::filesystem::exists(record); }));
    EXPECT_EQ(ReadFile(record), expected_paths.back() + "\n") << c.window;

    // It opened over the main window, and Escape closes it.
    EXPECT_TRUE(desktop.window->geometry().contains(viewer->geometry().center())) << c.window;
    QTest::keyClick(files, Qt::Key_Escape);
    EXPECT_FALSE(viewer->isVisible()) << c.window;
  }
  EXPECT_EQ(desktop.Find<QWidget>("frmProjectBrowser")
                ->findChild<QTreeWidget*>("lvwFiles")
                ->topLevelItem(1)
                ->text(1),
            "Definition file");
}

}  // namespace
}  // namespace pentrak
