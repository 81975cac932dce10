#pragma once

#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace pentrak::cli {

// What every sub-command shares: the streams and the chosen program folder. The chosen
// sub-command sets action, which runs after parsing and returns the exit status.
struct CommandContext {
  std::ostream& out;
  std::ostream& err;
  std::istream& in;
  std::string home;
  std::function<int()> action;
};

using CommandRegistrar = std::function<void(CLI::App&, CommandContext&)>;

// A switch of a sub-command: its name, where it is kept, and its help text.
struct Flag {
  const char* name;
  bool* value;
  const char* help;
};
void AddFlags(CLI::App& command, std::initializer_list<Flag> flags);

// Makes action the one to run when command is the sub-command chosen.
void OnChosen(CLI::App& command, CommandContext& context, std::function<int()> action);

// Each sub-command's registrar, from its own file "<name>_command.cpp".
void AddGenerateCommand(CLI::App& app, CommandContext& context);
void AddShowCommand(CLI::App& app, CommandContext& context);
void AddProjectsCommand(CLI::App& app, CommandContext& context);
void AddSearchCommand(CLI::App& app, CommandContext& context);
void AddReplaceCommand(CLI::App& app, CommandContext& context);
void AddFixLineEndingsCommand(CLI::App& app, CommandContext& context);
void AddNewProjectCommand(CLI::App& app, CommandContext& context);
void AddImportOptionsCommand(CLI::App& app, CommandContext& context);
void AddPreviewCommand(CLI::App& app, CommandContext& context);

// The sub-commands in the order --help lists them.
std::vector<CommandRegistrar> AllCommands();

}  // namespace pentrak::cli
