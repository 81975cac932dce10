#pragma once

#include <string>

#include "cli/commands.h"

namespace pentrak::cli {

// Starts up with the batch options and runs the batch without a window. Exit status: 0 when
// the named project was generated without errors, 1 when the run had errors, the command could
// not be started or the project is not in the history (said on stderr), 2 for an invalid
// project or a failed start-up.
int RunBatchForm(CommandContext& context, const std::string& command_line);

}  // namespace pentrak::cli
