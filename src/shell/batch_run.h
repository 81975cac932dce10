#pragma once

#include <functional>

namespace pentrak {

struct BatchSettings;
struct Workbench;

// What a batch run did.
struct BatchOutcome {
  bool valid_project = true;  // false: the "Command Line Error" was shown
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

}  // namespace pentrak
