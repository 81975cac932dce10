#include "shell/program_arguments.h"

#include <gtest/gtest.h>

namespace pentrak {
namespace {

// The cases both programs share, started as programs, are in the desktop program's tests; these
// are the parser's own corners.
TEST(ProgramArgumentsTest, SortsHomeBatchFormProjectFileAndSubCommandsAndRefusesTheRest) {
  FrontEnd command_line;
  command_line.sub_commands = {"generate", "show"};
  FrontEnd window;
  window.opens_project_file = true;
  using A = ArgumentForm;
  struct Case {
    const FrontEnd* front_end;
    std::vector<std::string> arguments;
    ArgumentForm form;
    std::string home;
    std::string detail;  // the batch command line, project file, sub-command words or error
  };
  const Case cases[] = {
      {&command_line, {"--home", "/h"}, A::kNothing, "/h", ""},
      // The batch form is one command line, as a scheduler writes it; its values may hold blanks.
      {&window,
       {"--home=/h", "/MODE=2", "/project=/my", "site/a.web"},
       A::kBatchForm,
       "/h",
       "/MODE=2 /project=/my site/a.web"},
      {&command_line,
       {"show", "/x.web", "--home", "h"},
       A::kSubCommand,
       "",
       "show /x.web --home h"},
      {&command_line, {"--version", "show"}, A::kVersion, "", ""},
      {&window, {"a.web", "b.web"}, A::kRefused, "", "Unexpected argument b.web."},
      {&command_line, {"-x", "show"}, A::kRefused, "", "Unknown option -x."},
      {&window, {""}, A::kRefused, "", "An argument is empty."},
      {&command_line, {"--home=", "show"}, A::kRefused, "", "--home needs a folder."},
  };
  for (const Case& c : cases) {
    ProgramArguments read = ReadProgramArguments(c.arguments, *c.front_end);
    std::string words;
    for (const std::string& word : read.sub_command) words += (words.empty() ? "" : " ") + word;
    std::string detail = read.batch_command_line + read.project_file + words + read.usage_error;
    EXPECT_EQ(read.form, c.form) << detail;
    EXPECT_EQ(read.home, c.home) << detail;
    EXPECT_EQ(detail, c.detail);
  }
}

}  // namespace
}  // namespace pentrak
