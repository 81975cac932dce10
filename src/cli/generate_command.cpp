#include <unistd.h>

#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <ostream>

#include "cli/commands.h"
#include "cli/session.h"
#include "generation/generation_run.h"
#include "project/document_selector.h"
#include "shell/generation_commands.h"
#include "shell/workbench.h"

namespace pentrak::cli {

namespace {

struct GenerateOptions {
  std::string project;  // empty: the current project
  // Switches over the saved settings, for this run only.
  bool modified_only = false;
  bool skip_read_only = false;
  bool create_subdirectories = false;
  bool ignore_errors = false;
  bool quiet = false;
  // The folder or document to generate; both empty: the whole project.
  std::string folder;
  std::string document;
};

// What the run covers: the whole project, or the indexes of a folder and maybe a document.
struct Scope {
  short scope = kScopeProject;
  int folder_index = -1;
  int document_index = -1;
};

ConsoleAnswers AnswersFor(const GenerateOptions& options) {
  ConsoleAnswers answers;
  answers.interactive = ::isatty(STDIN_FILENO) && ::isatty(STDERR_FILENO);
  answers.quiet = options.quiet;
  answers.progress = !options.quiet && ::isatty(STDERR_FILENO);
  return answers;
}

// The folder or document named on the command line, found in the definition as written.
std::optional<Scope> ChooseScope(Session& session, const GenerateOptions& options,
                                 std::ostream& err) {
  if (options.folder.empty() && options.document.empty()) return Scope{};
  if (!session.ReadDefinition()) return std::nullopt;
  DocumentChoice choice =
      ChooseDocument(session.workbench().definition, options.folder, options.document);
  if (!choice.error.empty()) {
    err << "pentrak-cli: " << choice.error << '\n';
    return std::nullopt;
  }
  return Scope{choice.document < 0 ? kScopeFolder : kScopeDocument, choice.folder, choice.document};
}

// The switches given override the saved ones for this run only; nothing is written back.
void ApplySwitches(const GenerateOptions& options, DisplaySettings& display,
                   ProgramOptions& program) {
  if (options.modified_only) display.modified_only = 1;
  if (options.skip_read_only) display.skip_read_only = 1;
  if (options.create_subdirectories) display.create_subdirectories = 1;
  if (options.ignore_errors) {
    // As if "Yes to All" had been answered before the first question.
    program.ignore_generation_errors = 1;
    program.ignore_missing_file_errors = 1;
  }
}

int RunGenerate(CommandContext& context, const GenerateOptions& options) {
  Session session(context, AnswersFor(options));
  session.StopOnInterrupt();
  if (!session.StartOnCurrentProject(options.project)) return kExitUsage;
  Workbench& workbench = session.workbench();
  std::optional<Scope> scope = ChooseScope(session, options, context.err);
  if (!scope) return kExitUsage;
  ApplySwitches(options, workbench.display, workbench.options);

  GenerationContext generation = GenerationContextOf(workbench);
  generation.shows_definition = false;
  GenerationRun run =
      RunGeneration(generation, scope->scope, scope->folder_index, scope->document_index);
  context.out.flush();
  bool clean = run.end == RunEnd::kCompleted && run.errors + run.missing_files == 0;
  return clean ? kExitCompleted : kExitWithErrors;
}

}  // namespace

void AddGenerateArguments(CLI::App& command, CommandContext& context) {
  GenerateOptions& o = Bind<GenerateOptions>(command, context, RunGenerate);
  command.add_option("project", o.project,
                     "Project file (.web); without it the current project is generated");
  command.add_option("--folder", o.folder, "Generate only the folder of this name");
  command.add_option(
      "--document", o.document,
      "Generate only this document: [FOLDER/]DOC, DOC as the definition file writes it");
  AddFlags(
      command,
      {
          {"--modified-only", &o.modified_only, "Generate only documents older than their sources"},
          {"--skip-read-only", &o.skip_read_only, "Skip read-only documents instead of halting"},
          {"--create-subdirectories", &o.create_subdirectories,
           "Create missing document folders without asking"},
          {"--ignore-errors", &o.ignore_errors,
           "Go on after missing content files and generation errors"},
          {"--quiet", &o.quiet, "Show no status lines"},
      });
}

}  // namespace pentrak::cli
