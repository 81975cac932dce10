#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "cli/commands.h"
#include "cli/session.h"
#include "platform/paths.h"
#include "shell/project_properties_dialog.h"
#include "shell/workbench.h"

namespace pentrak::cli {

namespace {

struct NewProjectOptions {
  std::string project_file;
  std::string name;
  std::string content_root;
  std::string document_root;
  bool no_samples = false;
  bool no_definition = false;
  bool no_create_roots = false;
};

// A root typed on the command line, made absolute: the project is used from other folders.
std::string TypedRoot(const std::string& typed) {
  return AbsolutePath(NormalizeTypedPath(typed, true));
}

// Fills the dialog's fields as a user would type them, leaving each path field in turn. The
// content root defaults to the project file's folder, so that the samples have a home.
void FillForm(ProjectPropertiesForm& form, const NewProjectOptions& options,
              const std::string& project_file) {
  form.working.name = options.name;
  form.working.content_root =
      options.content_root.empty() ? FolderOfPath(project_file) : TypedRoot(options.content_root);
  LeavePathField(form, PathField::kContentRoot);
  if (!options.document_root.empty()) {
    form.working.document_root = TypedRoot(options.document_root);
    LeavePathField(form, PathField::kDocumentRoot);
  }
  form.switches.create_samples = !options.no_samples;
  form.switches.create_definition = !options.no_definition;
  form.switches.create_roots = !options.no_create_roots;
}

int RunNewProject(CommandContext& context, const NewProjectOptions& options) {
  std::string project_file = AbsolutePath(NormalizeTypedPath(options.project_file, false));
  ConsoleAnswers answers;
  answers.save_file = project_file;
  Session session(context, answers);
  if (!session.Start()) return kExitUsage;
  Workbench& workbench = session.workbench();
  // The save dialog asks before replacing a file; without one, an existing file is refused.
  if (workbench.fs.FileExists(project_file)) {
    context.err << "pentrak-cli: " << project_file
                << " already exists; choose another file for the new project.\n";
    return kExitWithErrors;
  }
  std::optional<ProjectPropertiesForm> form = OpenNewProject(workbench);
  if (!form) return kExitWithErrors;
  FillForm(*form, options, project_file);
  if (ConfirmProjectProperties(workbench, *form) != DialogState::kClosed ||
      workbench.project.project_file_path != project_file) {
    return kExitWithErrors;
  }
  context.out << "Created the project \"" << workbench.project.name << "\" in " << project_file
              << "; it is the current project.\n";
  return kExitCompleted;
}

}  // namespace

void AddNewProjectCommand(CLI::App& app, CommandContext& context) {
  CLI::App* command = app.add_subcommand(
      "new-project", "Create a project with the sample files and make it the current one");
  auto options = std::make_shared<NewProjectOptions>();
  command->add_option("project", options->project_file, "The new project file (.web)")->required();
  command->add_option("--name", options->name, "Project name")->required();
  command->add_option("--content-root", options->content_root,
                      "Root of templates and content files; default: the project file's folder");
  command->add_option("--document-root", options->document_root,
                      "Root of the generated documents; default: the content root");
  AddFlags(*command, {
                         {"--no-samples", &options->no_samples,
                          "Do not copy the sample template and content files"},
                         {"--no-definition", &options->no_definition,
                          "Do not copy the sample project definition file"},
                         {"--no-create-roots", &options->no_create_roots,
                          "Do not create missing root folders"},
                     });
  OnChosen(*command, context, [&context, options] { return RunNewProject(context, *options); });
}

}  // namespace pentrak::cli
