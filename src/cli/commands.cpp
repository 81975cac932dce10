#include "cli/commands.h"

#include "cli/generate_command.h"

namespace pentrak::cli {

std::vector<CommandRegistrar> AllCommands() {
  return {
      // One line per sub-command, e.g. AddGenerateCommand, from its own file.
      AddGenerateCommand,
      AddShowCommand,
      AddProjectsCommand,
      AddNewProjectCommand,
      AddImportOptionsCommand,
  };
}

}  // namespace pentrak::cli
