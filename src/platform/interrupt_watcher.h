#pragma once

#include <csignal>
#include <initializer_list>
#include <utility>
#include <vector>

namespace pentrak {

// Turns the signals that ask a program to end (SIGINT from Ctrl-C, and SIGTERM where a service
// manager sends it) into a stop request that long work polls, as it polls a click on Stop. The
// first signal only sets the request, so the work can end at a clean boundary; a second one
// ends the program at once with that signal, so a stuck program can still be stopped. One
// watcher at a time; destroying it restores the handlers it replaced.
class InterruptWatcher {
 public:
  explicit InterruptWatcher(std::initializer_list<int> signals = {SIGINT});
  ~InterruptWatcher();
  InterruptWatcher(const InterruptWatcher&) = delete;
  InterruptWatcher& operator=(const InterruptWatcher&) = delete;

  // True once one of the watched signals has arrived.
  bool StopRequested() const;

 private:
  std::vector<std::pair<int, struct sigaction>> replaced_;
};

}  // namespace pentrak
