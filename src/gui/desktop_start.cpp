#include "gui/desktop_start.h"

#include <QTimer>

#include "generation/command_line.h"
#include "gui/main_window.h"
#include "gui/qt_user_interface.h"
#include "platform/text_lines.h"
#include "shell/startup.h"
#include "shell/workbench.h"

namespace pentrak {

namespace {

bool IsBatchOption(const std::string& argument) {
  std::string lower = ToLowerAscii(argument);
  for (const char* option : {"/mode=", "/project=", "/command=", "/window="}) {
    if (lower.rfind(option, 0) == 0) return true;
  }
  return false;
}

}  // namespace

DesktopArgumentsResult ParseDesktopArguments(const std::vector<std::string>& arguments) {
  DesktopArgumentsResult result;
  DesktopArguments& parsed = result.arguments;
  std::size_t i = 0;
  if (i < arguments.size() && arguments[i].rfind("--home=", 0) == 0) {
    parsed.home = arguments[i++].substr(7);
  } else if (i < arguments.size() && arguments[i] == "--home") {
    if (i + 1 >= arguments.size()) {
      result.usage_error = "--home needs a folder.";
      return result;
    }
    parsed.home = arguments[i + 1];
    i += 2;
  }
  if (i >= arguments.size()) return result;
  // The batch form is one command line, as a scheduler writes it; its values may hold blanks.
  if (IsBatchOption(arguments[i])) {
    for (std::size_t j = i; j < arguments.size(); ++j) {
      if (j > i) parsed.batch_command_line += ' ';
      parsed.batch_command_line += arguments[j];
    }
    return result;
  }
  if (arguments[i] == "--help" || arguments[i] == "-h") {
    result.show_help = true;
  } else if (arguments[i].rfind("--", 0) == 0) {
    result.usage_error = "Unknown option " + arguments[i] + ".";
  } else if (i + 1 < arguments.size()) {
    result.usage_error = "Unexpected argument " + arguments[i + 1] + ".";
  }
  if (result.show_help || !result.usage_error.empty()) return result;
  parsed.project_file = arguments[i];
  return result;
}

std::string BatchPlatform(const DesktopArguments& arguments, const char* qt_platform,
                          const char* display, const char* wayland_display) {
  auto set = [](const char* value) { return value != nullptr && *value != '\0'; };
  if (arguments.batch_command_line.empty() || set(qt_platform)) return "";
  return set(display) || set(wayland_display) ? "" : "offscreen";
}

bool PlatformHasScreen(std::string_view platform_name) {
  return platform_name != "offscreen" && platform_name != "minimal";
}

std::unique_ptr<MainWindow> OpenMainWindow(Workbench& workbench, QtUserInterface& ui,
                                           ProcessStarter& processes,
                                           const DesktopArguments& arguments,
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
  } else if (!arguments.batch_command_line.empty() && !ui.HasScreen()) {
    QTimer::singleShot(0, window.get(), [w = window.get()] { w->close(); });
  }
  return window;
}

}  // namespace pentrak
