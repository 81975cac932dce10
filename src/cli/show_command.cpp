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

void AddShowCommand(CLI::App& app, CommandContext& context) {
  CLI::App* command = app.add_subcommand(
      "show", "Show a project's folders, documents, templates and content files");
  auto project_path = std::make_shared<std::string>();
  command->add_option("project", *project_path, "Project file (.web); default: the current one");
  OnChosen(*command, context, [&context, project_path] { return RunShow(context, *project_path); });
}

}  // namespace pentrak::cli
