#include "platform/process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

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

// The program path the operating system is given: a path with separators gets "/" on POSIX.
std::string ProgramPath(const std::string& program) {
  return program.find_first_of("\\/") == std::string::npos ? program : NativePath(program);
}

}  // namespace

void StartProcess(const std::vector<std::string>& words) {
  if (words.empty()) return;
  std::vector<std::string> arguments = words;
  arguments[0] = ProgramPath(words[0]);
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  int status_pipe[2];
  if (::pipe2(status_pipe, O_CLOEXEC) != 0) throw SystemError(errno);

  // The program runs as a grandchild, so that it is never left as a zombie of ours while
  // we do not wait for it.
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
    if (grandchild > 0) ::_exit(0);
    ::execvp(argv[0], argv.data());
    ReportExecFailure(status_pipe[1]);
  }

  ::close(status_pipe[1]);
  int child_status = 0;
  while (::waitpid(child, &child_status, 0) < 0 && errno == EINTR) {
  }
  // The pipe closes without a byte when exec succeeded (close-on-exec).
  int error_number = 0;
  ssize_t n;
  do {
    n = ::read(status_pipe[0], &error_number, sizeof error_number);
  } while (n < 0 && errno == EINTR);
  ::close(status_pipe[0]);
  if (n == static_cast<ssize_t>(sizeof error_number)) throw SystemError(error_number);
}

void StartCommandLine(std::string_view command_line) {
  StartProcess(SplitCommandLine(command_line));
}

}  // namespace pentrak
