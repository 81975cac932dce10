// Drives the real main window, offscreen, through one of the runs a user of a large site waits
// for, and prints what the run reported and how long it took inside the window. bench/window.sh
// times the whole program (start and close included) beside pentrak-cli doing the same work.
//
// usage: window_driver HOME PROJECT.web ACTION [TEXT [REPLACEMENT]]
//   generate            the whole project, every document
//   generate-modified   the whole project with "Generate Modified Documents Only" on
//   find TEXT           Find over the project's sources, detailed results shown
//   replace FIND REPL   Replace over the project's sources, detailed results on
//   stop-generate       a full generation stopped after a second: how soon it ends
//   stop-find TEXT      the same for Find
//   documents           with paths and attributes shown: a refresh of the project and a refill
//                       of the documents list
//   status-memory N     N status lines through the seam: what the status list holds them in
//   shots DIR           PNGs of the main window and of Find, each drawn a second into a run

#include <unistd.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>

#include "gui/desktop_start.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"
#include "gui/qt_user_interface.h"
#include "platform/executable_path.h"
#include "shell/launcher.h"
#include "shell/program_folder.h"
#include "shell/workbench.h"

namespace {

using pentrak::FromQt;

double Seconds(const QElapsedTimer& timer) { return timer.nsecsElapsed() / 1e9; }

// The resident memory of this process in KiB.
long ResidentKib() {
  long pages_total = 0;
  long pages_resident = 0;
  std::ifstream("/proc/self/statm") >> pages_total >> pages_resident;
  return pages_resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

// Lets the event loop turn until the window has taken in and painted everything.
void CatchUp() { QApplication::processEvents(QEventLoop::AllEvents, 200); }

template <typename Widget>
Widget* Named(QObject* parent, const char* name) {
  auto* widget = parent->findChild<Widget*>(QString::fromLatin1(name));
  if (widget == nullptr) {
    std::cerr << "window_driver: no " << name << "\n";
    std::exit(2);
  }
  return widget;
}

int Rows(QObject* parent, const char* view) {
  return Named<QAbstractItemView>(parent, view)->model()->rowCount();
}

std::string LastRow(QObject* parent, const char* view) {
  const QAbstractItemModel* model = Named<QAbstractItemView>(parent, view)->model();
  int rows = model->rowCount();
  return rows == 0 ? "" : FromQt(model->index(rows - 1, 0).data().toString());
}

// The desktop seam without a screen, answering OK where pentrak-cli --yes does: Replace asks
// for confirmation before it writes.
class ConfirmingUserInterface : public pentrak::QtUserInterface {
 public:
  pentrak::Answer ShowMessage(std::string_view title, std::string_view text, pentrak::Icon icon,
                              pentrak::Buttons buttons) override {
    pentrak::Answer answer = QtUserInterface::ShowMessage(title, text, icon, buttons);
    return buttons == pentrak::Buttons::kOkCancel ? pentrak::Answer::kOk : answer;
  }
};

class Driver {
 public:
  Driver(pentrak::MainWindow& window, pentrak::QtUserInterface& ui) : window_(window), ui_(ui) {}

  int Run(const std::string& action, int argc, char** argv) {
    if (action == "generate" || action == "generate-modified") {
      Generate(action == "generate-modified");
    } else if (action == "find" && argc >= 5) {
      Find(argv[4], false);
    } else if (action == "replace" && argc >= 6) {
      Replace(argv[4], argv[5]);
    } else if (action == "stop-generate") {
      StopGenerate();
    } else if (action == "stop-find" && argc >= 5) {
      Find(argv[4], true);
    } else if (action == "documents") {
      Documents();
    } else if (action == "status-memory" && argc >= 5) {
      StatusMemory(std::atoi(argv[4]));
    } else if (action == "shots" && argc >= 5) {
      Shots(argv[4]);
    } else {
      std::cerr << "window_driver: unknown action " << action << "\n";
      return 2;
    }
    return 0;
  }

 private:
  void SetSwitch(const char* name, bool on) {
    auto* box = Named<QAbstractButton>(&window_, name);
    if (box->isChecked() != on) box->click();
  }

  // Runs the command and prints how long it took, the window's catching up included.
  void Timed(const char* what, const std::function<void()>& command) {
    QElapsedTimer timer;
    timer.start();
    command();
    CatchUp();
    std::printf("window: %s %.3f s\n", what, Seconds(timer));
  }

  void Generate(bool modified_only) {
    SetSwitch("ckGenerateModifiedOnly", modified_only);
    Timed("run", [this] { Named<QAction>(&window_, "mnuGenerateProject")->trigger(); });
    std::printf("status: %d lines, last: %s\n", Rows(&window_, "lstStatus"),
                LastRow(&window_, "lstStatus").c_str());
  }

  // The Stop command a second into a full generation.
  void StopGenerate() {
    SetSwitch("ckGenerateModifiedOnly", false);
    QElapsedTimer since_stop;
    QTimer::singleShot(1000, &window_, [&] {
      since_stop.start();
      Named<QAction>(&window_, "mnuStopGeneration")->trigger();
    });
    Named<QAction>(&window_, "mnuGenerateProject")->trigger();
    std::printf("window: ended %.3f s after Stop\n", Seconds(since_stop));
    CatchUp();
    std::printf("status: %s\n", LastRow(&window_, "lstStatus").c_str());
  }

  QWidget* OpenTool(const char* menu, const char* form) {
    Named<QAction>(&window_, menu)->trigger();
    QWidget* tool = Named<QWidget>(&window_, form);
    CatchUp();
    return tool;
  }

  void PrintResults(QWidget* tool, const char* status) {
    std::printf("results: %d entries, %d detailed entries; status: %s\n", Rows(tool, "lstResults"),
                Rows(tool, "tvwDetailedResults"), LastRow(tool, status).c_str());
  }

  // Find with detailed results shown; with stop, the Search button is pressed again (as Stop) a
  // second into the search.
  void Find(const char* text, bool stop) {
    QWidget* tool = OpenTool("mnuSearch", "frmSearch");
    Named<QLineEdit>(tool, "txtFind")->setText(QString::fromUtf8(text));
    auto* details = Named<QAbstractButton>(tool, "ckDetailedResults");
    if (!details->isChecked()) details->click();
    auto* search = Named<QAbstractButton>(tool, "cmdSearch");
    if (!stop) {
      Timed("run", [search] { search->click(); });
    } else {
      QElapsedTimer since_stop;
      QTimer::singleShot(1000, tool, [&] {
        since_stop.start();
        search->click();
      });
      search->click();
      std::printf("window: ended %.3f s after Stop\n", Seconds(since_stop));
      CatchUp();
    }
    PrintResults(tool, "lstSearchStatus");
  }

  void Replace(const char* find, const char* replacement) {
    QWidget* tool = OpenTool("mnuReplace", "frmReplace");
    Named<QLineEdit>(tool, "txtFind")->setText(QString::fromUtf8(find));
    Named<QLineEdit>(tool, "txtReplace")->setText(QString::fromUtf8(replacement));
    auto* details = Named<QAbstractButton>(tool, "ckDetailedResults");
    if (!details->isChecked()) details->click();
    // The confirmation is answered OK, as pentrak-cli --yes answers it.
    Timed("run", [tool] { Named<QAbstractButton>(tool, "cmdReplace")->click(); });
    PrintResults(tool, "lstReplaceStatus");
  }

  void Documents() {
    SetSwitch("ckShowAttributes", true);
    SetSwitch("ckShowPaths", true);
    CatchUp();
    Timed("refresh", [this] { Named<QAction>(&window_, "mnuRefreshProject")->trigger(); });
    Timed("documents list refill", [this] {
      SetSwitch("ckShowPaths", false);
      SetSwitch("ckShowPaths", true);
    });
    std::printf("documents: %d rows, last: %s | %s\n", Rows(&window_, "lvwDocuments"),
                LastRow(&window_, "lvwDocuments").c_str(),
                FromQt(Named<QAbstractItemView>(&window_, "lvwDocuments")
                           ->model()
                           ->index(Rows(&window_, "lvwDocuments") - 1, 2)
                           .data()
                           .toString())
                    .c_str());
  }

  // Lines as a long run writes them, the window serviced after each as a run does.
  void StatusMemory(int lines) {
    ui_.ClearStatus();
    CatchUp();
    long before = ResidentKib();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < lines; ++i) {
      ui_.AddStatusLine("Processing:\tf" + std::to_string(i / 200) + "/d" + std::to_string(i) +
                        ".html");
      ui_.ServiceEvents();
    }
    CatchUp();
    double seconds = Seconds(timer);
    long after = ResidentKib();
    std::printf("status list: %d lines take %ld KiB (%.0f bytes a line), %.3f s to add\n",
                Rows(&window_, "lstStatus"), after - before,
                (after - before) * 1024.0 / std::max(lines, 1), seconds);
  }

  // Draws the widget into folder/file a second after now, while a run goes on.
  static void ShotLater(QWidget* widget, const std::string& folder, const char* file) {
    QTimer::singleShot(1000, widget, [widget, path = QString::fromStdString(folder + "/" + file)] {
      std::printf("%s %s\n", widget->grab().save(path) ? "wrote" : "could not write",
                  FromQt(path).c_str());
    });
  }

  void Shots(const std::string& folder) {
    SetSwitch("ckGenerateModifiedOnly", false);
    ShotLater(&window_, folder, "main-window-running.png");
    Named<QAction>(&window_, "mnuGenerateProject")->trigger();
    QWidget* tool = OpenTool("mnuSearch", "frmSearch");
    Named<QLineEdit>(tool, "txtFind")->setText(QStringLiteral("Paragraph 7 of"));
    ShotLater(tool, folder, "find-running.png");
    Named<QAbstractButton>(tool, "cmdSearch")->click();
  }

  pentrak::MainWindow& window_;
  pentrak::QtUserInterface& ui_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::cerr << "usage: window_driver HOME PROJECT.web ACTION [TEXT [REPLACEMENT]]\n";
    return 2;
  }
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  ConfirmingUserInterface ui;
  ui.SetHasScreen(false);
  pentrak::ProgramFolderInputs inputs =
      pentrak::ProgramFolderInputsFromEnvironment(argv[1], pentrak::ExecutablePath(argv[0]));
  pentrak::FileSystem fs;
  pentrak::Workbench workbench(ui, pentrak::ChooseProgramFolder(fs, inputs));
  pentrak::SystemProcessStarter processes;
  std::unique_ptr<pentrak::MainWindow> window = pentrak::OpenMainWindow(
      workbench, ui, processes, {argv[1], argv[2], ""}, pentrak::FindSeedFolder(fs, inputs));
  if (!window) return 1;
  window->show();
  CatchUp();
  Driver driver(*window, ui);
  int status = driver.Run(argv[3], argc, argv);
  window->close();
  return status;
}
