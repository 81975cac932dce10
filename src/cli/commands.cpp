#include "cli/commands.h"

#include "cli/generate_command.h"
#include "cli/search_commands.h"

namespace pentrak::cli {

std::vector<CommandRegistrar> AllCommands() {
  return {
      // One line per sub-command, e.g. AddGenerateCommand, from its own file.
      AddGenerateCommand, AddShowCommand,    AddProjectsCommand,
      AddSearchCommand,   AddReplaceCommand, AddFixLineEndingsCommand,
  };
}

}  // namespace pentrak::cli
