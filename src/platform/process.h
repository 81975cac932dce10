#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pentrak {

// Splits a command line into words the way a shell splits them with double quotes only:
// blanks and tabs separate words, a double-quoted stretch keeps its blanks, and the quotes
// themselves are dropped ("C:\My Tools\edit.exe" "a b.txt" gives two words). Backslashes are
// ordinary characters, since paths are written with them.
std::vector<std::string> SplitCommandLine(std::string_view command_line);

// Starts a program without waiting for it and without a shell in between: the first word is
// the program (looked up on PATH when it holds no separator), the rest are its arguments.
// Throws Error with the platform's number when the program cannot be started.
void StartProcess(const std::vector<std::string>& words);

// The exit status StartDetached reports for a program killed by a signal while awaited.
inline constexpr int kDetachedProgramKilled = 255;

// Starts a program in a session of its own, as the grandchild of this process so that it is
// never left as our zombie, without a shell. An intermediate process waits up to wait_tenths
// tenths of a second for it. Returns the program's exit status when it ended within that time
// (kDetachedProgramKilled when killed, which exit status 255 also gives), and 0 when it is still
// running or wait_tenths is 0. Throws Error with the platform's number when the program cannot
// be started.
int StartDetached(std::vector<std::string> words, int wait_tenths);

// StartDetached in two halves, for a caller that must not wait: BeginDetached starts the program
// and returns the process that awaits it; PollDetached gives StartDetached's result once that
// process has ended (throwing as StartDetached throws), and nothing while it still waits.
struct DetachedStart {
  int waiter = -1;       // the intermediate process
  int status_pipe = -1;  // where a failed exec writes its errno
};
DetachedStart BeginDetached(std::vector<std::string> words, int wait_tenths);
std::optional<int> PollDetached(DetachedStart& start);

// SplitCommandLine and StartProcess in one step; an empty command line starts nothing.
void StartCommandLine(std::string_view command_line);

}  // namespace pentrak
