#pragma once

#include <string>
#include <vector>

namespace pentrak {

// What a front end reads besides --home, --help, --version and the batch form.
struct FrontEnd {
  std::vector<std::string> sub_commands;  // read by the front end's own parser
  bool opens_project_file = false;        // one other argument names a project file to open
};

// What a command line asks of the program.
enum class ArgumentForm {
  kNothing,      // no argument beyond --home: the current project
  kHelp,         // --help or -h first
  kVersion,      // --version first
  kBatchForm,    // batch_command_line holds the batch options
  kProjectFile,  // project_file names a project to open
  kSubCommand,   // sub_command holds a sub-command and every argument after it
  kRefused,      // usage_error says why; the program ends with the usage exit status
};

struct ProgramArguments {
  ArgumentForm form = ArgumentForm::kNothing;
  std::string home;                      // --home DIR; "" lets the program folder be chosen
  std::string batch_command_line;        // the arguments from the first batch option on
  std::string project_file;              // a project handed over by a file manager
  std::vector<std::string> sub_command;  // for the front end's own parser
  std::string usage_error;
};

// Reads a program's arguments (its own name left out) the same way for both programs. Leading
// "--home DIR" or "--home=DIR" chooses the program folder. Then the first argument decides:
// one that begins with "/mode=", "/project=", "/command=" or "/window=" (in any case) starts
// the batch form, and every argument from it on is joined with blanks into the one command line
// the batch form parses; "--help", "-h" and "--version" are answered by the front end; a
// sub-command goes to the front end's own parser; for a front end that opens project files, one
// other argument is a project file. Anything else is refused: an unknown "/name=" option, an
// unknown option, and a word that is neither a sub-command nor a project file, so a mistyped
// absolute path is never taken for an empty batch run.
ProgramArguments ReadProgramArguments(const std::vector<std::string>& arguments,
                                      const FrontEnd& front_end);

}  // namespace pentrak
