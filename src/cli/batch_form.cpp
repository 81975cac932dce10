#include "cli/batch_form.h"

#include "cli/session.h"
#include "generation/command_line.h"
#include "shell/batch_run.h"
#include "shell/workbench.h"

namespace pentrak::cli {

std::optional<std::string> BatchFormCommandLine(const std::vector<std::string>& arguments,
                                                CommandContext& context) {
  std::size_t first = 0;
  std::string home;
  if (!arguments.empty() && arguments[0].rfind("--home=", 0) == 0) {
    home = arguments[0].substr(7);
    first = 1;
  } else if (arguments.size() >= 2 && arguments[0] == "--home") {
    home = arguments[1];
    first = 2;
  }
  if (first >= arguments.size() || arguments[first].empty() || arguments[first][0] != '/') {
    return std::nullopt;
  }
  std::string command_line;
  for (std::size_t i = first; i < arguments.size(); ++i) {
    if (i > first) command_line += ' ';
    command_line += arguments[i];
  }
  context.home = home;
  return command_line;
}

int RunBatchForm(CommandContext& context, const std::string& command_line) {
  Session session(context, ConsoleAnswers{});
  session.StopOnInterrupt();
  if (!session.Start(command_line)) return kExitUsage;
  Workbench& workbench = session.workbench();
  if (!StartBatchTimer(workbench.batch)) return kExitCompleted;
  BatchOutcome outcome = RunBatch(workbench, workbench.batch);
  if (!outcome.in_history) {
    context.err << "pentrak-cli: " << NotInHistoryText(workbench.batch.project_path) << '\n';
  }
  return BatchExitStatus(outcome);
}

}  // namespace pentrak::cli
