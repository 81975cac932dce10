#include <QApplication>
#include <QIcon>
#include <cstdlib>
#include <iostream>
#include <optional>

#include "gui/desktop_start.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"
#include "gui/qt_user_interface.h"
#include "gui/window_process_starter.h"
#include "platform/error.h"
#include "platform/executable_path.h"
#include "platform/process_signals.h"
#include "shell/exit_status.h"
#include "shell/launcher.h"
#include "shell/program_folder.h"
#include "shell/workbench.h"

int main(int argc, char** argv) {
  pentrak::SetUpProcessSignals();
  // The arguments are read before Qt starts, so help and usage errors need no display.
  pentrak::ProgramArguments arguments = pentrak::ReadProgramArguments(
      std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc), pentrak::DesktopFrontEnd());
  if (std::optional<int> status = pentrak::AnswerWithoutWindow(arguments, std::cout, std::cerr)) {
    return *status;
  }
  std::string platform =
      pentrak::BatchPlatform(arguments, std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"),
                             std::getenv("WAYLAND_DISPLAY"));
  if (!platform.empty()) ::setenv("QT_QPA_PLATFORM", platform.c_str(), 1);

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Pentrak CMS"));
  pentrak::QtUserInterface ui;
  ui.SetHasScreen(pentrak::PlatformHasScreen(pentrak::FromQt(QApplication::platformName())));
  pentrak::ProgramFolderInputs inputs = pentrak::ProgramFolderInputsFromEnvironment(
      arguments.home, pentrak::ExecutablePath(argc > 0 ? argv[0] : "pentrak"));
  pentrak::FileSystem fs;
  std::string folder;
  try {
    folder = pentrak::ChooseProgramFolder(fs, inputs);
  } catch (const pentrak::Error& error) {
    pentrak::ReportError(ui, error);
    return pentrak::kExitUsage;
  }
  pentrak::Workbench workbench(ui, folder);
  pentrak::WindowProcessStarter processes(ui);
  std::unique_ptr<pentrak::MainWindow> window = pentrak::OpenMainWindow(
      workbench, ui, processes, arguments, pentrak::FindSeedFolder(fs, inputs));
  if (!window) return pentrak::kExitUsage;  // CloseProgram: loading failed and has been reported
  window->show();
  const int loop_status = QApplication::exec();
  return loop_status != 0 ? loop_status : window->ExitStatus();
}
