#include "platform/process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "platform/desktop_open.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

TEST(ProcessTest, SplitsWordsAtBlanksAndKeepsQuotedBlanks) {
  struct Case {
    const char* command_line;
    std::vector<std::string> words;
  };
  const Case cases[] = {
      {"", {}},
      {"   ", {}},
      {"notepad.exe", {"notepad.exe"}},
      {"  edit   a.txt\tb.txt ", {"edit", "a.txt", "b.txt"}},
      {"\"C:\\My Tools\\edit.exe\" \"a b.txt\"", {"C:\\My Tools\\edit.exe", "a b.txt"}},
      {"pre\"fix one\"post", {"prefix onepost"}},
      {"a \"\" b", {"a", "", "b"}},
      {"open \"unterminated here", {"open", "unterminated here"}},
      {"c:\\site\\run.bat /q", {"c:\\site\\run.bat", "/q"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SplitCommandLine(c.command_line), c.words) << c.command_line;
}

TEST(ProcessTest, AMissingProgramFailsWithTheSystemsNumber) {
  try {
    StartCommandLine("/nonexistent/pentrak-no-such-program --flag");
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(error.number(), ENOENT);
  }
  EXPECT_NO_THROW(StartCommandLine("   "));
}

// A started program's chatter (a browser's log lines) stays out of the starter's terminal.
TEST(ProcessTest, AStartedProgramWritesNothingToTheStartersOutput) {
  TestFolder folder;
  const std::string captured = folder / "captured.txt";
  std::fflush(stdout);
  const int saved = ::dup(STDOUT_FILENO);
  const int sink = ::open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ::dup2(sink, STDOUT_FILENO);
  const int status =
      StartDetached({"/bin/sh", "-c", "echo chatter; echo chatter >&2; exit 3"}, 100);
  ::dup2(saved, STDOUT_FILENO);
  ::close(saved);
  ::close(sink);
  EXPECT_EQ(status, 3);  // it ran to its end
  EXPECT_EQ(FileSystem().ReadFile(captured), "");
}

// A stand-in opener that ends with the given exit status.
std::string FakeOpener(const TestFolder& folder, int exit_status) {
  std::string path = folder / ("opener" + std::to_string(exit_status));
  FileSystem().WriteFile(path, "#!/bin/sh\nexit " + std::to_string(exit_status) + "\n");
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
  return path;
}

TEST(DesktopOpenTest, MapsTheOpenersExitStatus) {
  TestFolder folder;
  struct Case {
    int exit_status;
    int mode;
    int expected;
  };
  const Case cases[] = {
      {0, 1, 42}, {2, 1, 2}, {2, 2, 3}, {3, 1, 27}, {1, 1, 0}, {4, 2, 0},
  };
  for (const Case& c : cases) {
    std::string opener = FakeOpener(folder, c.exit_status);
    EXPECT_EQ(OpenWithDesktop(folder / "a file.txt", c.mode, opener), c.expected)
        << c.exit_status << " mode " << c.mode;
  }
  EXPECT_EQ(OpenWithDesktop(folder / "a.txt", 1, folder / "no-such-opener"), -1);
}

}  // namespace
}  // namespace pentrak
