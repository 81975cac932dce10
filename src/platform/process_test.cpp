#include "platform/process.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/error.h"

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

}  // namespace
}  // namespace pentrak
