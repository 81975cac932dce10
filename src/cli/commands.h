#pragma once

#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <memory>
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

// A sub-command: its name and summary as --help lists them, and what adds its arguments.
struct CommandEntry {
  const char* name;
  const char* summary;
  void (*add_arguments)(CLI::App& command, CommandContext& context);
};

// A switch of a sub-command: its name, where it is kept, and its help text.
struct Flag {
  const char* name;
  bool* value;
  const char* help;
};
void AddFlags(CLI::App& command, std::initializer_list<Flag> flags);

// Makes action the one to run when command is the sub-command chosen.
void OnChosen(CLI::App& command, CommandContext& context, std::function<int()> action);

// The options that command's arguments fill while parsing; run(context, options) is the action.
template <typename Options, typename Run>
Options& Bind(CLI::App& command, CommandContext& context, Run run) {
  auto options = std::make_shared<Options>();
  OnChosen(command, context, [&context, options, run] { return run(context, *options); });
  return *options;
}

// Each sub-command's arguments, from its own file "<name>_command.cpp".
void AddGenerateArguments(CLI::App& command, CommandContext& context);
void AddShowArguments(CLI::App& command, CommandContext& context);
void AddProjectsArguments(CLI::App& command, CommandContext& context);
void AddSearchArguments(CLI::App& command, CommandContext& context);
void AddReplaceArguments(CLI::App& command, CommandContext& context);
void AddFixLineEndingsArguments(CLI::App& command, CommandContext& context);
void AddNewProjectArguments(CLI::App& command, CommandContext& context);
void AddImportOptionsArguments(CLI::App& command, CommandContext& context);
void AddPreviewArguments(CLI::App& command, CommandContext& context);
void AddCheckArguments(CLI::App& command, CommandContext& context);

// The sub-commands in the order --help lists them.
std::vector<CommandEntry> AllCommands();

}  // namespace pentrak::cli
