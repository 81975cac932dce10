#include "cli/session.h"

#include <unistd.h>

#include <iostream>

#include "platform/error.h"
#include "platform/executable_path.h"
#include "project/definition_file.h"
#include "shell/program_folder.h"
#include "shell/startup.h"
#include "shell/workbench.h"

namespace pentrak::cli {

bool CanAskOnTerminal(const CommandContext& context) {
  return &context.in == &std::cin && ::isatty(STDIN_FILENO) == 1;
}

Session::Session(const CommandContext& context, ConsoleAnswers answers)
    : context_(context), ui_(context.out, context.err, context.in, answers) {}

Session::~Session() = default;

void Session::StopOnInterrupt() {
  interrupts_.emplace();
  ui_.StopOn(*interrupts_);
}

bool Session::Start(const std::string& command_line) {
  ProgramFolderInputs inputs =
      ProgramFolderInputsFromEnvironment(context_.home, ExecutablePath("pentrak-cli"));
  FileSystem fs;
  std::string folder;
  try {
    folder = ChooseProgramFolder(fs, inputs);
  } catch (const Error& error) {
    ReportError(ui_, error);
    return false;
  }
  workbench_ = std::make_unique<Workbench>(ui_, folder);
  StartUpOptions options;
  options.seed_folder = FindSeedFolder(workbench_->fs, inputs);
  options.command_line = command_line;
  return StartUp(*workbench_, options);
}

bool Session::StartWithProject(const std::string& project_path) {
  return Start() && (project_path.empty() || OpenProjectFile(*workbench_, project_path));
}

bool Session::StartOnCurrentProject(const std::string& project_path) {
  if (!StartWithProject(project_path)) return false;
  if (!workbench_->project.project_file_path.empty()) return true;
  context_.err << "pentrak-cli: there is no current project; name a project file.\n";
  return false;
}

bool Session::ReadDefinition() {
  Workbench& workbench = *workbench_;
  try {
    pentrak::ReadDefinition(
        {workbench.fs, workbench.ui, workbench.project, workbench.options, workbench.definition},
        false, false);
    return true;
  } catch (const Error& error) {
    ReportError(workbench.ui, error);
    return false;
  }
}

}  // namespace pentrak::cli
