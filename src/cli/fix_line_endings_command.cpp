#include <CLI/CLI.hpp>
#include <memory>

#include "cli/session.h"
#include "platform/error.h"
#include "search/replace.h"
#include "shell/workbench.h"

namespace pentrak::cli {

namespace {

int RunFixLineEndings(const CommandContext& context, const std::string& file) {
  Session session(context, ConsoleAnswers{});
  if (!session.Start()) return kExitUsage;
  Workbench& workbench = session.workbench();
  try {
    return FixLineEndings(workbench.fs, workbench.ui, workbench.work_files.replace_work_file, file)
               ? kExitCompleted
               : kExitWithErrors;
  } catch (const Error& error) {
    ReportError(workbench.ui, error);
    return kExitWithErrors;
  }
}

}  // namespace

void AddFixLineEndingsArguments(CLI::App& command, CommandContext& context) {
  std::string& file = Bind<std::string>(command, context, RunFixLineEndings);
  command.add_option("FILE", file, "The file to repair")->required();
}

}  // namespace pentrak::cli
