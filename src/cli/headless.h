#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "cli/commands.h"

namespace pentrak {
class UserInterface;
struct Workbench;
}  // namespace pentrak

namespace pentrak::cli {

// True when the command reads the process's own standard input and that is a terminal, so a
// person can be asked.
bool CanAskOnTerminal(const CommandContext& context);

// The program folder for this run (--home, else the usual choice), created and seeded with the
// samples by StartUp; nothing after reporting when none can be named.
std::optional<std::string> ProgramFolderFor(const CommandContext& context, UserInterface& ui);

// Starts the program without a window (settings, history, current project), then opens
// project_path as the main window opens a project file when it is given. False after reporting.
bool StartHeadless(Workbench& workbench, const CommandContext& context,
                   const std::string& project_path);

}  // namespace pentrak::cli
