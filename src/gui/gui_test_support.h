#pragma once

// For tests only: the real main window over a fresh program folder, with every message box
// answered beforehand through the seam.

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "gui/desktop_start.h"
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
// empty) and recorded; status lines, event servicing and Stop are the real ones.
class PreAnsweredUserInterface : public QtUserInterface {
 public:
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

  bool Open(const DesktopArguments& arguments = {}) {
    window = OpenMainWindow(workbench, ui, processes, arguments, PENTRAK_TEST_BINARY_DIR);
    if (window) window->show();
    return window != nullptr;
  }

  template <typename Widget>
  Widget* Find(const char* name) {
    return window->findChild<Widget*>(QString::fromLatin1(name));
  }
  void Trigger(const char* action) { Find<QAction>(action)->trigger(); }

  std::vector<std::string> StatusLines() {
    std::vector<std::string> lines;
    auto* list = Find<QListWidget>("lstStatus");
    for (int row = 0; row < list->count(); ++row) lines.push_back(FromQt(list->item(row)->text()));
    return lines;
  }

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

}  // namespace pentrak
