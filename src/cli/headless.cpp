#include "cli/headless.h"

#include <unistd.h>

#include <iostream>

#include "platform/error.h"
#include "platform/executable_path.h"
#include "shell/program_folder.h"
#include "shell/startup.h"
#include "shell/workbench.h"

namespace pentrak::cli {

namespace {

ProgramFolderInputs InputsFor(const CommandContext& context) {
  return ProgramFolderInputsFromEnvironment(context.home, ExecutablePath("pentrak-cli"));
}

}  // namespace

bool CanAskOnTerminal(const CommandContext& context) {
  return &context.in == &std::cin && ::isatty(STDIN_FILENO) == 1;
}

std::optional<std::string> ProgramFolderFor(const CommandContext& context, UserInterface& ui) {
  try {
    FileSystem fs;
    return ChooseProgramFolder(fs, InputsFor(context));
  } catch (const Error& error) {
    ReportError(ui, error);
    return std::nullopt;
  }
}

bool StartHeadless(Workbench& workbench, const CommandContext& context,
                   const std::string& project_path) {
  StartUpOptions options;
  options.seed_folder = FindSeedFolder(workbench.fs, InputsFor(context));
  if (!StartUp(workbench, options)) return false;
  return project_path.empty() || OpenProjectFile(workbench, project_path);
}

}  // namespace pentrak::cli
