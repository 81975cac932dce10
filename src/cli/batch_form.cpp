#include "cli/batch_form.h"

#include "cli/session.h"
#include "generation/command_line.h"
#include "shell/batch_run.h"
#include "shell/workbench.h"

namespace pentrak::cli {

int RunBatchForm(CommandContext& context, const std::string& command_line) {
  Session session(context, ConsoleAnswers{});
  session.StopOnInterrupt();
  if (!session.Start(command_line)) return kExitUsage;
  Workbench& workbench = session.workbench();
  if (!AsksForBatchRun(workbench.batch)) return kExitCompleted;
  BatchOutcome outcome = RunBatch(workbench, workbench.batch);
  if (!outcome.in_history) {
    context.err << "pentrak-cli: " << NotInHistoryText(workbench.batch.project_path) << '\n';
  }
  return BatchExitStatus(outcome);
}

}  // namespace pentrak::cli
