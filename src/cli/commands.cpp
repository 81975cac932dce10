#include "cli/commands.h"

#include <CLI/CLI.hpp>
#include <utility>

namespace pentrak::cli {

void AddFlags(CLI::App& command, std::initializer_list<Flag> flags) {
  for (const Flag& flag : flags) command.add_flag(flag.name, *flag.value, flag.help);
}

void OnChosen(CLI::App& command, CommandContext& context, std::function<int()> action) {
  command.callback([&context, action = std::move(action)] { context.action = action; });
}

std::vector<CommandRegistrar> AllCommands() {
  return {
      AddGenerateCommand,   AddShowCommand,          AddProjectsCommand,
      AddSearchCommand,     AddReplaceCommand,       AddFixLineEndingsCommand,
      AddNewProjectCommand, AddImportOptionsCommand, AddPreviewCommand,
  };
}

}  // namespace pentrak::cli
