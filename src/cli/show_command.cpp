#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/commands.h"
#include "cli/session.h"
#include "project/project_structure.h"
#include "shell/workbench.h"

namespace pentrak::cli {

namespace {

int RunShow(CommandContext& context, const std::string& project_path) {
  Session session(context, ConsoleAnswers{});
  if (!session.StartOnCurrentProject(project_path)) return kExitUsage;
  if (!session.ReadDefinition()) return kExitWithErrors;
  Workbench& workbench = session.workbench();
  for (const std::string& line : ProjectStructureLines(workbench.definition, workbench.project,
                                                       workbench.options.sort_folders == 1)) {
    context.out << line << '\n';
  }
  return kExitCompleted;
}

}  // namespace

void AddShowArguments(CLI::App& command, CommandContext& context) {
  std::string& project_path = Bind<std::string>(command, context, RunShow);
  command.add_option("project", project_path, "Project file (.web); default: the current one");
}

}  // namespace pentrak::cli
