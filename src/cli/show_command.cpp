#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/commands.h"
#include "cli/session.h"
#include "platform/error.h"
#include "project/definition_file.h"
#include "project/project_structure.h"
#include "shell/startup.h"
#include "shell/workbench.h"

namespace pentrak::cli {

namespace {

int RunShow(CommandContext& context, const std::string& project_path) {
  Session session(context, ConsoleAnswers{});
  if (!session.Start()) return kExitUsage;
  Workbench& workbench = session.workbench();
  if (!project_path.empty() && !OpenProjectFile(workbench, project_path)) return kExitUsage;
  if (workbench.history.current_index < 0) {
    context.err << "pentrak-cli: there is no current project; name a project file.\n";
    return kExitUsage;
  }
  DefinitionContext definition{workbench.fs, workbench.ui, workbench.project, workbench.options,
                               workbench.definition};
  try {
    ReadDefinition(definition, false, false);
  } catch (const Error& error) {
    ReportError(workbench.ui, error);
    return kExitWithErrors;
  }
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
  command->callback([&context, project_path] {
    context.action = [&context, project_path] { return RunShow(context, *project_path); };
  });
}

}  // namespace pentrak::cli
