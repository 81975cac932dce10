#include "cli/commands.h"

namespace pentrak::cli {

std::vector<CommandRegistrar> AllCommands() {
  return {
      // One line per sub-command, e.g. AddGenerateCommand, from its own file.
      AddShowCommand,
      AddProjectsCommand,
      AddNewProjectCommand,
      AddImportOptionsCommand,
  };
}

}  // namespace pentrak::cli
