#pragma once

#include <functional>
#include <string>

namespace pentrak {

struct BatchSettings;
struct Workbench;

// What a batch run did.
struct BatchOutcome {
  bool valid_project = true;  // false: the "Command Line Error" was shown
  bool in_history = true;     // false: the history does not know the project; nothing was run
  bool generated = false;     // the project was in the history and a run took place
  bool run_failed = false;    // the run had errors, was halted, or the command did not start
  bool close_program = false;
};

// What a front end with a window does around a batch run; either may be left empty.
struct BatchWindow {
  std::function<void()> refresh_views;   // after the project named has been made current
  std::function<void()> restore_window;  // after an invalid project when it started minimized
};

// The batch run started by the command line: generates the named project when the history
// knows it (paths compared without regard to case), starts the command without waiting, and
// asks to close the program when /mode=2 and the run was not stopped.
BatchOutcome RunBatch(Workbench& workbench, const BatchSettings& settings,
                      const BatchWindow& window = {});

// The status a program ends with after a batch run: kExitUsage for an invalid project,
// kExitWithErrors when the run had errors or was halted, the command did not start, or the
// project is not in the history (a scheduler must not take that for success), else
// kExitCompleted.
int BatchExitStatus(const BatchOutcome& outcome);

// What a front end writes to its error stream when the project is not in the history; the
// window shows no box for it, so that an unattended run never waits.
std::string NotInHistoryText(const std::string& project_path);

}  // namespace pentrak
