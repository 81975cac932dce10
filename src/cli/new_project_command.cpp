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

void AddNewProjectArguments(CLI::App& command, CommandContext& context) {
  NewProjectOptions& o = Bind<NewProjectOptions>(command, context, RunNewProject);
  command.add_option("project", o.project_file, "The new project file (.web)")->required();
  command.add_option("--name", o.name, "Project name")->required();
  command.add_option("--content-root", o.content_root,
                     "Root of templates and content files; default: the project file's folder");
  command.add_option("--document-root", o.document_root,
                     "Root of the generated documents; default: the content root");
  AddFlags(
      command,
      {
          {"--no-samples", &o.no_samples, "Do not copy the sample template and content files"},
          {"--no-definition", &o.no_definition, "Do not copy the sample project definition file"},
          {"--no-create-roots", &o.no_create_roots, "Do not create missing root folders"},
      });
}

}  // namespace pentrak::cli
