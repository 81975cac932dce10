// Parses the input as the batch command line under both rules, and, split at NUL bytes, as a
// program's arguments through the front door of both programs.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/fuzz_engine.h"
#include "generation/command_line.h"
#include "platform/text_lines.h"
#include "shell/program_arguments.h"

using namespace pentrak;

namespace {

std::vector<std::string> SplitAtNul(const std::string& text) {
  std::vector<std::string> arguments(1);
  for (char c : text) {
    if (c == '\0') {
      arguments.emplace_back();
    } else {
      arguments.back() += c;
    }
  }
  return arguments;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = fuzzing::TextFrom(data, size, 0);
  for (CommandLineRule rule : {CommandLineRule::kWindows, CommandLineRule::kPosix}) {
    BatchSettings settings = ParseCommandLine(text, rule);
    AsksForBatchRun(settings);
    // Values are parts of the input; the Windows rule reads it lower-cased.
    const std::string source = rule == CommandLineRule::kWindows ? ToLowerAscii(text) : text;
    if (source.find(settings.project_path) == std::string::npos ||
        source.find(settings.command) == std::string::npos) {
      std::abort();
    }
  }
  const std::vector<std::string> arguments = SplitAtNul(text);
  FrontEnd command_line;
  command_line.sub_commands = {"generate", "show"};
  FrontEnd window;
  window.opens_project_file = true;
  for (const FrontEnd& front_end : {command_line, window}) {
    ProgramArguments read = ReadProgramArguments(arguments, front_end);
    if ((read.form == ArgumentForm::kBatchForm &&
         !BeginsWithBatchOption(read.batch_command_line)) ||
        (read.form == ArgumentForm::kRefused && read.usage_error.empty())) {
      std::abort();
    }
  }
  return 0;
}
