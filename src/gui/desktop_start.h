#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/program_arguments.h"

namespace pentrak {

class MainWindow;
class ProcessStarter;
class QtUserInterface;
struct Workbench;

// What the desktop program reads besides --home, --help, --version and the batch form: one
// project file, as a file manager hands it over.
FrontEnd DesktopFrontEnd();

// Answers what needs no window (--help, --version, a usage error) on out or err and returns
// the exit status; nothing when the program is to start.
std::optional<int> AnswerWithoutWindow(const ProgramArguments& arguments, std::ostream& out,
                                       std::ostream& err);

// The Qt platform to start on when none is chosen: the batch form started where there is no
// display (from a scheduler or a service; neither DISPLAY nor WAYLAND_DISPLAY is set) runs on
// "offscreen", where Qt would otherwise refuse to start at all. Empty: Qt's own choice. The
// three arguments are the environment's values, null when unset.
std::string BatchPlatform(const ProgramArguments& arguments, const char* qt_platform,
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
                                           const ProgramArguments& arguments,
                                           const std::string& seed_folder);

}  // namespace pentrak
