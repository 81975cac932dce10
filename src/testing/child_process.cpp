#include "testing/child_process.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>

extern char** environ;

namespace pentrak {

namespace {

// The child's environment as execve takes it, built before fork: the child may only make
// async-signal-safe calls.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& unset) {
  std::vector<std::string> result;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    std::string_view variable(*entry);
    std::string_view name = variable.substr(0, variable.find('='));
    if (std::find(unset.begin(), unset.end(), name) == unset.end()) result.emplace_back(variable);
  }
  return result;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// stdout goes to the pipe, stderr to the memory file; SIGALRM, whose timer survives execve,
// ends a child that hangs.
[[noreturn]] void ExecChild(const ChildRun& run, int out_pipe, int err_file, char** argv,
                            char** envp) {
  ::dup2(out_pipe, STDOUT_FILENO);
  ::dup2(err_file, STDERR_FILENO);
  if (run.file_size_limit >= 0) {
    struct rlimit limit {};
    limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(run.file_size_limit);
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(127);
  }
  ::alarm(static_cast<unsigned>(run.kill_after_seconds));
  ::execve(argv[0], argv, envp);
  ::_exit(127);
}

std::string ReadWhole(int fd) {
  std::string text;
  char buffer[65536];
  for (off_t at = 0;;) {
    ssize_t n = ::pread(fd, buffer, sizeof buffer, at);
    if (n <= 0) return text;
    text.append(buffer, static_cast<std::size_t>(n));
    at += n;
  }
}

}  // namespace

int ChildResult::ExitStatus() const {
  return status >= 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ChildResult RunChild(const ChildRun& run) {
  std::vector<std::string> arguments = run.arguments;
  std::vector<std::string> environment = ChildEnvironment(run.unset);
  std::vector<char*> argv = Pointers(arguments);
  std::vector<char*> envp = Pointers(environment);
  ChildResult result;
  int out_pipe[2];
  if (::pipe2(out_pipe, O_CLOEXEC) != 0) return result;
  int err_file = ::memfd_create("child-stderr", MFD_CLOEXEC);
  pid_t pid = err_file >= 0 ? ::fork() : -1;
  if (pid == 0) ExecChild(run, out_pipe[1], err_file, argv.data(), envp.data());
  ::close(out_pipe[1]);
  char buffer[65536];
  for (ssize_t n; pid > 0 && (n = ::read(out_pipe[0], buffer, sizeof buffer)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    result.out.append(buffer, static_cast<std::size_t>(n));
    if (run.on_output) run.on_output(pid, result.out);
  }
  ::close(out_pipe[0]);
  if (pid > 0) ::waitpid(pid, &result.status, 0);
  result.timed_out =
      result.status >= 0 && WIFSIGNALED(result.status) && WTERMSIG(result.status) == SIGALRM;
  if (err_file >= 0) {
    result.err = ReadWhole(err_file);
    ::close(err_file);
  }
  return result;
}

}  // namespace pentrak
