#pragma once

#include <memory>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "platform/console_user_interface.h"
#include "platform/interrupt_watcher.h"
#include "shell/exit_status.h"

namespace pentrak {
struct Workbench;
}

namespace pentrak::cli {

// True when the command reads the process's own standard input and that is a terminal, so a
// person can be asked.
bool CanAskOnTerminal(const CommandContext& context);

// The started program behind every sub-command: the console seam on the command's streams, the
// program folder chosen (--home, the executable's folder, or the per-user one) and seeded, and
// the workbench after start-up (settings, history, first-run notice, current project).
class Session {
 public:
  Session(const CommandContext& context, ConsoleAnswers answers);
  ~Session();

  // From now on Ctrl-C stops the work after the file or document in hand, as Stop does.
  void StopOnInterrupt();

  // Runs the start-up with these batch options; false after reporting when it fails.
  bool Start(const std::string& command_line = "");
  // Starts, then opens project_path (when given) as the main window opens a project file.
  bool StartWithProject(const std::string& project_path);
  // As StartWithProject, and refuses with a message when no project is current afterwards.
  bool StartOnCurrentProject(const std::string& project_path);

  // Reads the current project's definition with the names as written; false after reporting.
  bool ReadDefinition();

  Workbench& workbench() { return *workbench_; }
  ConsoleUserInterface& ui() { return ui_; }

 private:
  const CommandContext& context_;
  ConsoleUserInterface ui_;
  std::optional<InterruptWatcher> interrupts_;
  std::unique_ptr<Workbench> workbench_;
};

}  // namespace pentrak::cli
