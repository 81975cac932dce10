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

std::vector<CommandEntry> AllCommands() {
  return {
      {"generate", "Generate the project, one of its folders or one document.",
       AddGenerateArguments},
      {"show", "Show a project's folders, documents, templates and content files",
       AddShowArguments},
      {"projects", "List the project history; the current project is marked *",
       AddProjectsArguments},
      {"search", "Find a text in the project's source files, or in its generated documents",
       AddSearchArguments},
      {"replace", "Replace a text in the project's source files; read-only files are left alone",
       AddReplaceArguments},
      {"fix-line-endings", "Turn every lone carriage return of a file into a line break",
       AddFixLineEndingsArguments},
      {"new-project", "Create a project with the sample files and make it the current one",
       AddNewProjectArguments},
      {"import-options", "Import the program options of another installation and its history",
       AddImportOptionsArguments},
      {"preview", "Serve the document root, regenerate on every save, reload open pages.",
       AddPreviewArguments},
      {"check", "Check every link, image and anchor of the generated site, traced to its source",
       AddCheckArguments},
  };
}

}  // namespace pentrak::cli
