#pragma once

#include "cli/commands.h"

namespace pentrak::cli {

// "generate [PROJECT.web] [--folder NAME] [--document PATH] [switches]": generates the project,
// one folder or one document headlessly.
void AddGenerateCommand(CLI::App& app, CommandContext& context);

}  // namespace pentrak::cli
