#include "platform/process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/error.h"
#include "platform/paths.h"

namespace pentrak {

std::vector<std::string> SplitCommandLine(std::string_view command_line) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false;
  bool quoted = false;
  for (char c : command_line) {
    if (c == '"') {
      quoted = !quoted;
      in_word = true;  // "" is an empty word
    } else if (!quoted && (c == ' ' || c == '\t')) {
      if (in_word) words.push_back(std::move(word));
      word.clear();
      in_word = false;
    } else {
      word += c;
      in_word = true;
    }
  }
  if (in_word) words.push_back(std::move(word));
  return words;
}

namespace {

// Writes the errno of a failed exec to the pipe the parent reads, then leaves the child.
[[noreturn]] void ReportExecFailure(int pipe_fd) {
  int error_number = errno;
  ssize_t ignored = ::write(pipe_fd, &error_number, sizeof error_number);
  (void)ignored;
  ::_exit(127);
}

// A started program lives on its own: what it prints (a browser's log lines, say) does not land
// in the terminal of the command that started it, and it never reads that terminal.
void DetachFromTerminal() {
  const int null_device = ::open("/dev/null", O_RDWR);
  if (null_device < 0) return;
  for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) ::dup2(null_device, fd);
  if (null_device > STDERR_FILENO) ::close(null_device);
}

// Runs in the intermediate process: waits a while for the program and exits with its verdict.
[[noreturn]] void AwaitProgram(pid_t program, int wait_tenths) {
  const timespec tenth{0, 100'000'000};
  for (int i = 0; i < wait_tenths; ++i) {
    int status = 0;
    pid_t done = ::waitpid(program, &status, WNOHANG);
    if (done == program) ::_exit(WIFEXITED(status) ? WEXITSTATUS(status) : kDetachedProgramKilled);
    if (done < 0 && errno != EINTR) ::_exit(kDetachedProgramKilled);
    ::nanosleep(&tenth, nullptr);
  }
  ::_exit(0);  // still running: init reaps it later
}

// Waits for a child, retrying when a signal interrupts the wait; returns its wait status.
int WaitForChild(pid_t child) {
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

// The errno a failed exec wrote to the pipe, or 0 when the pipe closed empty because exec
// succeeded (close-on-exec).
int ReadExecFailure(int pipe_fd) {
  int error_number = 0;
  ssize_t n;
  do {
    n = ::read(pipe_fd, &error_number, sizeof error_number);
  } while (n < 0 && errno == EINTR);
  return n == static_cast<ssize_t>(sizeof error_number) ? error_number : 0;
}

// The program path the operating system is given: a path with separators gets "/" on POSIX.
std::string ProgramPath(const std::string& program) {
  return program.find_first_of("\\/") == std::string::npos ? program : NativePath(program);
}

}  // namespace

DetachedStart BeginDetached(std::vector<std::string> words, int wait_tenths) {
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  int status_pipe[2];
  if (::pipe2(status_pipe, O_CLOEXEC) != 0) throw SystemError(errno);
  pid_t child = ::fork();
  if (child < 0) {
    int saved = errno;
    ::close(status_pipe[0]);
    ::close(status_pipe[1]);
    throw SystemError(saved);
  }
  if (child == 0) {
    ::close(status_pipe[0]);
    ::setsid();
    pid_t grandchild = ::fork();
    if (grandchild < 0) ReportExecFailure(status_pipe[1]);
    if (grandchild == 0) {
      DetachFromTerminal();
      ::execvp(argv[0], argv.data());
      ReportExecFailure(status_pipe[1]);
    }
    AwaitProgram(grandchild, wait_tenths);
  }
  ::close(status_pipe[1]);
  return DetachedStart{child, status_pipe[0]};
}

namespace {

// The result of a waiter that has ended with the given wait status; closes its pipe.
int DetachedResult(DetachedStart& start, int status) {
  const int exec_error = ReadExecFailure(start.status_pipe);
  ::close(start.status_pipe);
  start = DetachedStart{};
  if (exec_error != 0) throw SystemError(exec_error);
  return WIFEXITED(status) ? WEXITSTATUS(status) : kDetachedProgramKilled;
}

}  // namespace

std::optional<int> PollDetached(DetachedStart& start) {
  int status = 0;
  pid_t done;
  do {
    done = ::waitpid(start.waiter, &status, WNOHANG);
  } while (done < 0 && errno == EINTR);
  if (done == 0) return std::nullopt;
  if (done < 0) status = 0xff00;  // lost: counted as an exit status of 255, like a killed one
  return DetachedResult(start, status);
}

int StartDetached(std::vector<std::string> words, int wait_tenths) {
  DetachedStart start = BeginDetached(std::move(words), wait_tenths);
  return DetachedResult(start, WaitForChild(start.waiter));
}

void StartProcess(const std::vector<std::string>& words) {
  if (words.empty()) return;
  std::vector<std::string> arguments = words;
  arguments[0] = ProgramPath(words[0]);
  StartDetached(std::move(arguments), 0);
}

void StartCommandLine(std::string_view command_line) {
  StartProcess(SplitCommandLine(command_line));
}

}  // namespace pentrak
