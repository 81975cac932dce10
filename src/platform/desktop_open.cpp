#include "platform/desktop_open.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace pentrak {

namespace {

constexpr int kOpened = 42;            // any value above 32 is success
constexpr int kUnknownFailure = 0;     // shown as "Unknown error."
constexpr int kOpenerNotStarted = -1;  // the launcher raises its own error for this

// xdg-open usually hands the file to the desktop and ends at once; when it runs the handler
// itself it keeps running, and after this long its silence counts as success.
constexpr int kVerdictWaitTenths = 30;

// The opener's exit status as the intermediate process reports it.
constexpr int kStatusKilled = 200;
constexpr int kStatusNotStarted = 201;

[[noreturn]] void ReportNotStarted(int pipe_fd) {
  int error_number = errno;
  ssize_t ignored = ::write(pipe_fd, &error_number, sizeof error_number);
  (void)ignored;
  ::_exit(kStatusNotStarted);
}

// Runs in the intermediate process: waits a little for the opener and exits with its verdict.
[[noreturn]] void AwaitOpener(pid_t opener) {
  const timespec tenth{0, 100'000'000};
  for (int i = 0; i < kVerdictWaitTenths; ++i) {
    int status = 0;
    pid_t done = ::waitpid(opener, &status, WNOHANG);
    if (done == opener) ::_exit(WIFEXITED(status) ? WEXITSTATUS(status) : kStatusKilled);
    if (done < 0 && errno != EINTR) ::_exit(kStatusKilled);
    ::nanosleep(&tenth, nullptr);
  }
  ::_exit(0);  // still running: it has taken the file over; init reaps it later
}

}  // namespace

// xdg-open's exit statuses and the result codes they become:
//   0 (opened), or still running after the wait       -> 42, success
//   2 (a file named on its command line is missing)  -> 2 "File not found." for a file,
//                                                       3 "Path not found." for a folder
//   3 (no tool or application for this kind of file) -> 27 "Incomplete or invalid file
//                                                       association."; there is no system
//                                                       open-with dialog to fall back on
//   1 (syntax), 4 (the handler failed), killed, other -> 0 "Unknown error."
//   xdg-open itself cannot be started                 -> -1 (Error 10020 in the launcher)
int MapOpenerExit(int exit_status, int mode) {
  switch (exit_status) {
    case 0:
      return kOpened;
    case 2:
      return mode == 2 ? 3 : 2;
    case 3:
      return 27;
    default:
      return kUnknownFailure;
  }
}

int OpenWithDesktop(const std::string& path, int mode, const std::string& opener) {
  std::vector<std::string> words = {opener, path};
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  int status_pipe[2];
  if (::pipe2(status_pipe, O_CLOEXEC) != 0) return kOpenerNotStarted;
  pid_t child = ::fork();
  if (child < 0) {
    ::close(status_pipe[0]);
    ::close(status_pipe[1]);
    return kOpenerNotStarted;
  }
  if (child == 0) {
    ::close(status_pipe[0]);
    ::setsid();
    pid_t grandchild = ::fork();
    if (grandchild < 0) ReportNotStarted(status_pipe[1]);
    if (grandchild == 0) {
      ::execvp(argv[0], argv.data());
      ReportNotStarted(status_pipe[1]);
    }
    AwaitOpener(grandchild);
  }

  ::close(status_pipe[1]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int error_number = 0;
  ssize_t n;
  do {
    n = ::read(status_pipe[0], &error_number, sizeof error_number);
  } while (n < 0 && errno == EINTR);
  ::close(status_pipe[0]);
  if (n == static_cast<ssize_t>(sizeof error_number)) return kOpenerNotStarted;
  if (!WIFEXITED(status)) return kUnknownFailure;
  return MapOpenerExit(WEXITSTATUS(status), mode);
}

}  // namespace pentrak
