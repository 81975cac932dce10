#include "cli/session.h"

#include "platform/error.h"
#include "platform/executable_path.h"
#include "shell/program_folder.h"
#include "shell/startup.h"
#include "shell/workbench.h"

namespace pentrak::cli {

Session::Session(const CommandContext& context, ConsoleAnswers answers)
    : context_(context), ui_(context.out, context.err, context.in, answers) {}

Session::~Session() = default;

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

}  // namespace pentrak::cli
