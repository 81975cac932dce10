#pragma once

// For tests only: runs one of the built programs in a child process, as a scheduler or a shell
// starts it, and keeps what it wrote.

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace pentrak {

struct ChildRun {
  std::vector<std::string> arguments;  // the program's path first
  std::vector<std::string> unset;      // variables of this process's environment it goes without
  long long file_size_limit = -1;      // RLIMIT_FSIZE of the child in bytes; -1 leaves it
  // A child still running after this long is ended with SIGALRM, so a hang fails the test
  // instead of blocking the suite; generous, since sanitizer builds are slow.
  int kill_after_seconds = 120;
  // Called each time stdout has grown, with everything read from it so far.
  std::function<void(pid_t child, const std::string& out)> on_output;
};

struct ChildResult {
  int status = -1;         // as waitpid gives it; -1 when the program could not be started
  bool timed_out = false;  // ended after kill_after_seconds
  std::string out;
  std::string err;

  // The exit status, or -1 when the child did not end by itself.
  int ExitStatus() const;
};

ChildResult RunChild(const ChildRun& run);

}  // namespace pentrak
