#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace pentrak::cli {

// The batch form's command line: when the first argument after an optional "--home DIR"
// begins with "/", every argument from there on joined with blanks; otherwise nothing. The
// folder of --home, when given, is stored in context.home.
std::optional<std::string> BatchFormCommandLine(const std::vector<std::string>& arguments,
                                                CommandContext& context);

// Starts up with the batch options and runs the batch without a window. Exit status: 0 when
// the named project was generated without errors, 1 when the run had errors, the command could
// not be started or the project is not in the history (said on stderr), 2 for an invalid
// project or a failed start-up.
int RunBatchForm(CommandContext& context, const std::string& command_line);

}  // namespace pentrak::cli
