#include "cli/commands.h"

#include "cli/generate_command.h"
#include "cli/search_commands.h"

namespace pentrak::cli {

std::vector<CommandRegistrar> AllCommands() {
  return {
      AddGenerateCommand,   AddShowCommand,          AddProjectsCommand,
      AddSearchCommand,     AddReplaceCommand,       AddFixLineEndingsCommand,
      AddNewProjectCommand, AddImportOptionsCommand, AddPreviewCommand,
  };
}

}  // namespace pentrak::cli
