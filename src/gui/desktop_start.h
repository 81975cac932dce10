#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pentrak {

class MainWindow;
class ProcessStarter;
class QtUserInterface;
struct Workbench;

// What the desktop program's command line asks for:
//   pentrak [--home DIR] [PROJECT.web]
//   pentrak [--home DIR] /mode=N /project=PATH [/command=CMD] [/window=N]
struct DesktopArguments {
  std::string home;
  std::string project_file;        // a project handed over by a file manager
  std::string batch_command_line;  // the batch options joined with blanks, parsed at start-up
};

// Sorts the arguments; a usage error gives its text instead.
struct DesktopArgumentsResult {
  DesktopArguments arguments;
  std::string usage_error;
  bool show_help = false;
};
DesktopArgumentsResult ParseDesktopArguments(const std::vector<std::string>& arguments);

// The Qt platform to start on when none is chosen: the batch form started where there is no
// display (from a scheduler or a service; neither DISPLAY nor WAYLAND_DISPLAY is set) runs on
// "offscreen", where Qt would otherwise refuse to start at all. Empty: Qt's own choice. The
// three arguments are the environment's values, null when unset.
std::string BatchPlatform(const DesktopArguments& arguments, const char* qt_platform,
                          const char* display, const char* wayland_display);

// Whether windows and boxes on this Qt platform reach a screen someone may see.
bool PlatformHasScreen(std::string_view platform_name);

// Starts the program in the described order (program folder, display settings, command line,
// program options, history, current project), builds the main window, shows the project, opens
// a project handed over on the command line and arms the batch timer. Without a screen a batch
// command line that arms no run closes the window at once, as pentrak-cli's batch form ends.
// Nothing when start-up failed and the program must close (the reason has been shown).
std::unique_ptr<MainWindow> OpenMainWindow(Workbench& workbench, QtUserInterface& ui,
                                           ProcessStarter& processes,
                                           const DesktopArguments& arguments,
                                           const std::string& seed_folder);

}  // namespace pentrak
