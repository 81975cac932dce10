#pragma once

// For tests only: the real main window over a fresh program folder, with every message box
// answered beforehand through the seam; its dialogs and tool windows driven through their
// widgets, and a small project written into the fixture's folder and opened in the window.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "gui/desktop_start.h"
#include "gui/dialog_screenshots.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"
#include "gui/qt_user_interface.h"
#include "shell/launcher.h"
#include "shell/workbench.h"
#include "testing/scripted_user_interface.h"
#include "testing/test_folder.h"

namespace pentrak {

// A file's bytes; empty when it cannot be read.
inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Writes a file whole, with any missing folders above it.
inline void WriteFile(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// The desktop seam with its boxes answered from queues (OK, Yes, or the preset when a queue is
// empty) and recorded; status lines, event servicing and Stop are the real ones. With
// real_questions the four-button questions are put in the real box, for a person to answer.
class PreAnsweredUserInterface : public QtUserInterface {
 public:
  bool real_questions = false;
  std::deque<Answer> message_answers;
  std::deque<FourButtonAnswer> question_answers;
  std::deque<std::optional<std::string>> file_choices;
  std::vector<ScriptedUserInterface::Message> messages;
  std::vector<ScriptedUserInterface::Question> questions;
  // Called on every servicing of events with its 1-based count.
  std::function<void(int)> on_service;
  int service_calls = 0;

  Answer ShowMessage(std::string_view title, std::string_view text, Icon icon,
                     Buttons buttons) override {
    messages.push_back({std::string(title), std::string(text), icon, buttons});
    return NextAnswer(message_answers, buttons == Buttons::kYesNo ? Answer::kYes : Answer::kOk);
  }
  FourButtonAnswer AskFourButtons(std::string_view title, std::string_view text, FourButtons shown,
                                  FourButtonAnswer preset) override {
    questions.push_back({std::string(title), std::string(text), shown, preset});
    if (real_questions) return QtUserInterface::AskFourButtons(title, text, shown, preset);
    return NextAnswer(question_answers, preset);
  }
  bool ServiceEvents() override {
    ++service_calls;
    if (on_service) on_service(service_calls);
    return QtUserInterface::ServiceEvents();
  }
  // Open and save choosers take their answers from the one queue, in the order asked.
  std::optional<std::string> ChooseOpenFile(std::string_view, std::string_view,
                                            std::string_view) override {
    return NextAnswer(file_choices, std::optional<std::string>());
  }
  std::optional<std::string> ChooseSaveFile(std::string_view, std::string_view,
                                            std::string_view) override {
    return NextAnswer(file_choices, std::optional<std::string>());
  }
};

// A program folder seeded from the build tree, the workbench over it, and the window.
class DesktopFixture {
 public:
  DesktopFixture() : workbench(ui, folder.path()) {}

  bool Open(const ProgramArguments& arguments = {}) {
    window = OpenMainWindow(workbench, ui, processes, arguments, PENTRAK_TEST_BINARY_DIR);
    if (window) window->show();
    return window != nullptr;
  }

  template <typename Widget>
  Widget* Find(const char* name) {
    return window->findChild<Widget*>(QString::fromLatin1(name));
  }
  void Trigger(const char* action) { Find<QAction>(action)->trigger(); }

  std::vector<std::string> StatusLines();

  // Services events until done() holds or ten seconds have passed.
  static bool WaitFor(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
      if (timer.elapsed() > 10000) return false;
      QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
  }

  TestFolder folder;
  PreAnsweredUserInterface ui;
  Workbench workbench;
  SystemProcessStarter processes;
  std::unique_ptr<MainWindow> window;
};

// Replaces a field's text by keystrokes, as a user types it.
inline void Type(QLineEdit* edit, const std::string& text) {
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClicks(edit, ToQt(text));
}

// The dialog a menu command opened, once it is shown; null when none is.
inline QDialog* ShownDialog(DesktopFixture& desktop, const char* name) {
  return ShownDialog(*desktop.window, name);
}

template <typename Widget>
Widget* Control(QWidget* dialog, const char* name) {
  return dialog->findChild<Widget*>(QString::fromLatin1(name));
}

// A project "Tools" below the fixture's folder: sources in src/, documents in out/.
class ToolProject {
 public:
  explicit ToolProject(DesktopFixture& desktop)
      : desktop_(desktop), root_(desktop.folder / "tools/") {
    desktop.workbench.fs.CreateFolderPath(root_ + "src/");
    desktop.workbench.fs.CreateFolderPath(root_ + "out/");
  }

  std::string Source(const std::string& name) const { return root_ + "src/" + name; }
  std::string Document(const std::string& name) const { return root_ + "out/" + name; }
  void Write(const std::string& path, const std::string& bytes) const {
    desktop_.workbench.fs.CreateFolderPath(path);
    desktop_.workbench.fs.WriteFile(path, bytes);
  }
  std::string Read(const std::string& path) const { return desktop_.workbench.fs.ReadFile(path); }

  // Writes the definition and the project file, and opens the project in the main window.
  void Open(const std::string& definition, const std::string& extra_settings = "") {
    Write(Source("project.txt"), definition);
    std::string file = root_ + "tools.web";
    Write(file, "name=Tools\r\ndocument-root=" + root_ + "out/\r\ncontent-root=" + root_ +
                    "src/\r\ndefinition-file=project.txt\r\n" + extra_settings);
    desktop_.ui.file_choices = {file};
    desktop_.Trigger("mnuOpenProject");
  }

  // Opens a project of `count` documents, each from a template of its own that holds "x".
  void OpenLarge(int count) {
    std::string definition = "[Main]\r\n";
    for (int i = 0; i < count; ++i) {
      std::string name = std::to_string(10000 + i);
      definition += "d" + name + ".html,t" + name + ".tpl\r\n";
      // Plain streams: the program's own writes wait for the disk, thousands of times over.
      std::ofstream(Source("t" + name + ".tpl"), std::ios::binary) << "<p>x</p>\r\n";
    }
    Open(definition, "max-docs=" + std::to_string(count) + "\r\n");
  }

 private:
  DesktopFixture& desktop_;
  std::string root_;
};

// Lets the event loop turn as it does once a command has returned, so that the lists hold what
// the window shows.
inline void LetWindowCatchUp() { QApplication::processEvents(QEventLoop::AllEvents, 100); }

// The texts a list view holds in a column at this moment, row by row, the event loop left alone
// (a look in the middle of a run).
inline std::vector<std::string> HeldLines(const QAbstractItemView* view, int column = 0) {
  std::vector<std::string> lines;
  const QAbstractItemModel* model = view->model();
  for (int row = 0; row < model->rowCount(); ++row) {
    lines.push_back(FromQt(model->index(row, column).data().toString()));
  }
  return lines;
}

// The texts a list view shows in a column once the window has caught up.
inline std::vector<std::string> ListLines(const QAbstractItemView* view, int column = 0) {
  LetWindowCatchUp();
  return HeldLines(view, column);
}

inline std::vector<std::string> DesktopFixture::StatusLines() {
  return ListLines(Find<QAbstractItemView>("lstStatus"));
}

// The results list as the results file tells it: each file followed by a count line
// (">n occurrences found", ">n replacements made.", ">n occurrences found in read-only file...")
// gives "file (n)".
inline std::vector<std::string> ResultsFromResultsFile(const std::vector<std::string>& lines) {
  std::vector<std::string> entries;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.size() < 2 || line[0] != '>' || line[1] < '0' || line[1] > '9') continue;
    entries.push_back(lines[i - 1] + " (" + line.substr(1, line.find(' ') - 1) + ")");
  }
  return entries;
}

// The captions of a window's shown buttons and labels, by the mnemonic letter each carries.
inline std::multimap<QChar, QString> Mnemonics(const QWidget* window) {
  std::multimap<QChar, QString> letters;
  auto add = [&letters](const QString& caption) {
    qsizetype at = caption.indexOf(QLatin1Char('&'));
    if (at >= 0 && at + 1 < caption.size() && caption[at + 1] != QLatin1Char('&')) {
      letters.emplace(caption[at + 1].toLower(), caption);
    }
  };
  for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
    if (button->isVisibleTo(window)) add(button->text());
  }
  for (const QLabel* label : window->findChildren<QLabel*>()) {
    if (label->isVisibleTo(window) && label->buddy() != nullptr) add(label->text());
  }
  return letters;
}

}  // namespace pentrak
