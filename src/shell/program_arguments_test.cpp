#include "shell/program_arguments.h"

#include <gtest/gtest.h>

namespace pentrak {
namespace {

constexpr const char* kHint =
    "; the batch form begins with /mode=, /project=, /command= or /window=.";

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
      {&window, {}, A::kNothing, "", ""},
      {&command_line, {"--home", "/h"}, A::kNothing, "/h", ""},
      // The batch form is one command line, as a scheduler writes it; its values may hold blanks.
      {&window,
       {"--home=/h", "/MODE=2", "/project=/my", "site/a.web"},
       A::kBatchForm,
       "/h",
       "/MODE=2 /project=/my site/a.web"},
      {&command_line,
       {"--home", "/h", "/command=run", "--now", "/project=a.web"},
       A::kBatchForm,
       "/h",
       "/command=run --now /project=a.web"},
      {&window,
       {"--home", "/h", "/srv/site/site.web"},
       A::kProjectFile,
       "/h",
       "/srv/site/site.web"},
      {&window, {"site.web"}, A::kProjectFile, "", "site.web"},
      {&command_line,
       {"show", "/x.web", "--home", "h"},
       A::kSubCommand,
       "",
       "show /x.web --home h"},
      {&window, {"-h", "x"}, A::kHelp, "", ""},
      {&command_line, {"--home", "h", "--help"}, A::kHelp, "h", ""},
      {&command_line, {"--version", "show"}, A::kVersion, "", ""},
      // A window has no sub-commands: the word names a project file.
      {&window, {"show"}, A::kProjectFile, "", "show"},
      // A mistyped path or batch option is refused, never taken for an empty batch run.
      {&command_line,
       {"/srv/site/x.web"},
       A::kRefused,
       "",
       "Unknown command /srv/site/x.web" + std::string(kHint)},
      {&command_line,
       {"site.web"},
       A::kRefused,
       "",
       "Unknown command site.web" + std::string(kHint)},
      {&window,
       {"/mdoe=2", "/project=a.web"},
       A::kRefused,
       "",
       "Unknown batch option /mdoe=" + std::string(kHint)},
      {&command_line,
       {"/foo=1", "/mode=2"},
       A::kRefused,
       "",
       "Unknown batch option /foo=" + std::string(kHint)},
      {&window, {"a.web", "b.web"}, A::kRefused, "", "Unexpected argument b.web."},
      {&window, {"--homes"}, A::kRefused, "", "Unknown option --homes."},
      {&command_line, {"-x", "show"}, A::kRefused, "", "Unknown option -x."},
      {&window, {""}, A::kRefused, "", "An argument is empty."},
      {&window, {"--home"}, A::kRefused, "", "--home needs a folder."},
      {&command_line, {"--home=", "show"}, A::kRefused, "", "--home needs a folder."},
      {&command_line,
       {"--home", "a", "--home=b", "show"},
       A::kRefused,
       "a",
       "--home is given twice."},
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
