#include "shell/program_arguments.h"

#include <algorithm>
#include <string_view>

#include "generation/command_line.h"

namespace pentrak {

namespace {

constexpr std::string_view kBatchFormHint =
    "; the batch form begins with /mode=, /project=, /command= or /window=.";

void Refuse(ProgramArguments& result, std::string usage_error) {
  result.form = ArgumentForm::kRefused;
  result.usage_error = std::move(usage_error);
}

std::string Joined(const std::vector<std::string>& arguments, std::size_t first) {
  std::string text;
  for (std::size_t i = first; i < arguments.size(); ++i) {
    if (i > first) text += ' ';
    text += arguments[i];
  }
  return text;
}

// Reads the leading --home options into result.home and returns the index of the first argument
// after them; a usage error refuses the arguments.
std::size_t ReadHome(const std::vector<std::string>& arguments, ProgramArguments& result) {
  std::size_t i = 0;
  bool given = false;
  while (i < arguments.size()) {
    std::string folder;
    if (arguments[i].starts_with("--home=")) {
      folder = arguments[i].substr(7);
      i += 1;
    } else if (arguments[i] == "--home" && i + 1 < arguments.size()) {
      folder = arguments[i + 1];
      i += 2;
    } else if (arguments[i] == "--home") {
      i += 1;
    } else {
      break;
    }
    if (folder.empty() || given) {
      Refuse(result, given ? "--home is given twice." : "--home needs a folder.");
      return i;
    }
    result.home = std::move(folder);
    given = true;
  }
  return i;
}

// Sorts the arguments from index i on, the first one deciding.
void ReadFrom(const std::vector<std::string>& arguments, std::size_t i, const FrontEnd& front_end,
              ProgramArguments& result) {
  if (i == arguments.size()) return;
  const std::string& first = arguments[i];
  if (BeginsWithBatchOption(first)) {
    result.form = ArgumentForm::kBatchForm;
    result.batch_command_line = Joined(arguments, i);
  } else if (std::size_t length = OptionLength(first); length > 0) {
    Refuse(result, "Unknown batch option " + first.substr(0, length) + std::string(kBatchFormHint));
  } else if (first == "--help" || first == "-h") {
    result.form = ArgumentForm::kHelp;
  } else if (first == "--version") {
    result.form = ArgumentForm::kVersion;
  } else if (std::ranges::find(front_end.sub_commands, first) != front_end.sub_commands.end()) {
    result.form = ArgumentForm::kSubCommand;
    result.sub_command.assign(arguments.begin() + static_cast<std::ptrdiff_t>(i), arguments.end());
  } else if (first.empty()) {
    Refuse(result, "An argument is empty.");
  } else if (first.starts_with("-")) {
    Refuse(result, "Unknown option " + first + ".");
  } else if (!front_end.opens_project_file) {
    Refuse(result, "Unknown command " + first + std::string(kBatchFormHint));
  } else if (i + 1 < arguments.size()) {
    Refuse(result, "Unexpected argument " + arguments[i + 1] + ".");
  } else {
    result.form = ArgumentForm::kProjectFile;
    result.project_file = first;
  }
}

}  // namespace

ProgramArguments ReadProgramArguments(const std::vector<std::string>& arguments,
                                      const FrontEnd& front_end) {
  ProgramArguments result;
  std::size_t first = ReadHome(arguments, result);
  if (result.form != ArgumentForm::kRefused) ReadFrom(arguments, first, front_end, result);
  return result;
}

}  // namespace pentrak
