#include "gui/desktop_start.h"

#include <QTimer>
#include <ostream>

#include "generation/command_line.h"
#include "gui/main_window.h"
#include "gui/qt_user_interface.h"
#include "shell/exit_status.h"
#include "shell/startup.h"
#include "shell/workbench.h"

namespace pentrak {

FrontEnd DesktopFrontEnd() {
  FrontEnd front_end;
  front_end.opens_project_file = true;
  return front_end;
}

std::optional<int> AnswerWithoutWindow(const ProgramArguments& arguments, std::ostream& out,
                                       std::ostream& err) {
  constexpr std::string_view kUsage =
      "Usage: pentrak [--home DIR] [PROJECT.web]\n"
      "       pentrak [--home DIR] /mode=N /project=PATH [/command=CMD] [/window=N]\n"
      "       pentrak --help | --version\n";
  switch (arguments.form) {
    case ArgumentForm::kHelp:
      out << kUsage;
      return kExitCompleted;
    case ArgumentForm::kVersion:
      out << "pentrak " PENTRAK_VERSION "\n";
      return kExitCompleted;
    case ArgumentForm::kRefused:
      err << "pentrak: " << arguments.usage_error << '\n' << kUsage;
      return kExitUsage;
    default:
      return std::nullopt;
  }
}

std::string BatchPlatform(const ProgramArguments& arguments, const char* qt_platform,
                          const char* display, const char* wayland_display) {
  auto set = [](const char* value) { return value != nullptr && *value != '\0'; };
  if (arguments.form != ArgumentForm::kBatchForm || set(qt_platform)) return "";
  return set(display) || set(wayland_display) ? "" : "offscreen";
}

bool PlatformHasScreen(std::string_view platform_name) {
  return platform_name != "offscreen" && platform_name != "minimal";
}

std::unique_ptr<MainWindow> OpenMainWindow(Workbench& workbench, QtUserInterface& ui,
                                           ProcessStarter& processes,
                                           const ProgramArguments& arguments,
                                           const std::string& seed_folder) {
  StartUpOptions options;
  options.create_files_silently = false;  // a person is there to answer the first-run questions
  options.seed_folder = seed_folder;
  options.command_line = arguments.batch_command_line;
  if (!StartUp(workbench, options)) return nullptr;
  auto window = std::make_unique<MainWindow>(workbench, ui, processes);
  if (!arguments.project_file.empty()) OpenProjectFile(workbench, arguments.project_file);
  window->RefreshProjects();
  window->DisplayCurrentProject();
  if (window->ArmBatchTimer()) {
    if (workbench.batch.window_mode == 1) window->setWindowState(Qt::WindowMinimized);
  } else if (arguments.form == ArgumentForm::kBatchForm && !ui.HasScreen()) {
    QTimer::singleShot(0, window.get(), [w = window.get()] { w->close(); });
  }
  return window;
}

}  // namespace pentrak
