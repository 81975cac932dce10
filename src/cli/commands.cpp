#include "cli/commands.h"

#include "cli/search_commands.h"

namespace pentrak::cli {

std::vector<CommandRegistrar> AllCommands() {
  return {
      // One line per sub-command, e.g. AddGenerateCommand, from its own file.
      AddSearchCommand,
      AddReplaceCommand,
      AddFixLineEndingsCommand,
  };
}

}  // namespace pentrak::cli
