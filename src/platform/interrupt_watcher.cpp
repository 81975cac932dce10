#include "platform/interrupt_watcher.h"

#include <atomic>

namespace pentrak {

namespace {

// Process-wide: a signal handler reaches nothing else. Lock-free: safe there and across threads.
std::atomic<int> g_stop_signals{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void OnStopSignal(int signal_number) {
  if (g_stop_signals.fetch_add(1) == 0) return;
  // The second signal: take the default action, which ends the process with this signal.
  struct sigaction default_action {};
  default_action.sa_handler = SIG_DFL;
  sigemptyset(&default_action.sa_mask);
  sigaction(signal_number, &default_action, nullptr);
  raise(signal_number);
}

}  // namespace

InterruptWatcher::InterruptWatcher(std::initializer_list<int> signals) {
  g_stop_signals = 0;
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  // Interrupted reads and writes resume, so file access never sees EINTR.
  action.sa_flags = SA_RESTART;
  for (int signal_number : signals) {
    struct sigaction previous {};
    if (sigaction(signal_number, &action, &previous) == 0) {
      replaced_.emplace_back(signal_number, previous);
    }
  }
}

InterruptWatcher::~InterruptWatcher() {
  for (const auto& [signal_number, previous] : replaced_) {
    sigaction(signal_number, &previous, nullptr);
  }
  g_stop_signals = 0;
}

bool InterruptWatcher::StopRequested() const { return g_stop_signals != 0; }

}  // namespace pentrak
