#include "testing/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <map>

extern char** environ;

namespace pentrak {

namespace {

// The child's environment as execve takes it, built before fork: the child may only make
// async-signal-safe calls.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& changes) {
  std::map<std::string, std::string> variables;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    std::string text(*entry);
    std::size_t equals = text.find('=');
    variables[text.substr(0, equals)] = text;
  }
  for (const std::string& change : changes) {
    std::size_t equals = change.find('=');
    if (equals == std::string::npos) {
      variables.erase(change);
    } else {
      variables[change.substr(0, equals)] = change;
    }
  }
  std::vector<std::string> result;
  for (auto& [name, text] : variables) result.push_back(std::move(text));
  return result;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

[[noreturn]] void ExecChild(const ChildRun& run, int out_pipe, int err_pipe, char** argv,
                            char** envp) {
  ::dup2(out_pipe, STDOUT_FILENO);
  ::dup2(err_pipe, STDERR_FILENO);
  if (run.file_size_limit >= 0) {
    struct rlimit limit {};
    limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(run.file_size_limit);
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(127);
  }
  ::execve(argv[0], argv, envp);
  ::_exit(127);
}

// Reads what is there on one pipe; false at its end.
bool Drain(int fd, std::string& into) {
  char buffer[65536];
  ssize_t n = ::read(fd, buffer, sizeof buffer);
  if (n > 0) into.append(buffer, static_cast<std::size_t>(n));
  return n > 0;
}

}  // namespace

int ChildResult::ExitStatus() const {
  return status >= 0 && WIFEXITED(status) && !timed_out ? WEXITSTATUS(status) : -1;
}

ChildResult RunChild(const ChildRun& run) {
  std::vector<std::string> arguments = run.arguments;
  std::vector<std::string> environment = ChildEnvironment(run.environment);
  std::vector<char*> argv = Pointers(arguments);
  std::vector<char*> envp = Pointers(environment);
  ChildResult result;
  int out_pipe[2];
  int err_pipe[2];
  if (::pipe2(out_pipe, O_CLOEXEC) != 0) return result;
  if (::pipe2(err_pipe, O_CLOEXEC) != 0) {
    ::close(out_pipe[0]);
    ::close(out_pipe[1]);
    return result;
  }
  pid_t pid = ::fork();
  if (pid == 0) ExecChild(run, out_pipe[1], err_pipe[1], argv.data(), envp.data());
  ::close(out_pipe[1]);
  ::close(err_pipe[1]);
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::seconds(run.kill_after_seconds);
  struct pollfd fds[2] = {{out_pipe[0], POLLIN, 0}, {err_pipe[0], POLLIN, 0}};
  int open_pipes = pid > 0 ? 2 : 0;
  while (open_pipes > 0) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 && !result.timed_out) {
      ::kill(pid, SIGKILL);
      result.timed_out = true;
    }
    if (::poll(fds, 2, result.timed_out ? -1 : static_cast<int>(left.count())) < 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      std::string& into = i == 0 ? result.out : result.err;
      if (!Drain(fds[i].fd, into)) {
        ::close(fds[i].fd);
        fds[i].fd = -1;
        --open_pipes;
      } else if (i == 0 && run.on_output) {
        run.on_output(pid, result.out);
      }
    }
  }
  for (int i = 0; i < 2; ++i) {
    if (fds[i].fd >= 0) ::close(fds[i].fd);
  }
  if (pid > 0) ::waitpid(pid, &result.status, 0);
  return result;
}

}  // namespace pentrak
