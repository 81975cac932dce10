#pragma once

#include <functional>
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

// Each sub-command's registrar, from its own file.
void AddProjectsCommand(CLI::App& app, CommandContext& context);
void AddShowCommand(CLI::App& app, CommandContext& context);
void AddNewProjectCommand(CLI::App& app, CommandContext& context);
void AddImportOptionsCommand(CLI::App& app, CommandContext& context);
void AddPreviewCommand(CLI::App& app, CommandContext& context);

// The sub-commands in the order --help lists them.
std::vector<CommandRegistrar> AllCommands();

}  // namespace pentrak::cli
