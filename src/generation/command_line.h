#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pentrak {

// What the command line asks of a batch run.
struct BatchSettings {
  bool batch = false;           // "/mode=1" or "/mode=2"
  bool exit_when_done = false;  // "/mode=2"
  std::string project_path;     // "/project="
  std::string command;          // "/command=", started after the generation
  short window_mode = 0;        // "/window=1": the main window starts minimized
  bool project_given = false;   // "/project=" appeared, even with an empty value
};

// The two ways of reading the batch form's values.
enum class CommandLineRule {
  kWindows,  // a value runs to the next "/"; values are lower-cased, as file names ignore case
  kPosix,    // a value runs to a blank followed by an option, so paths may hold "/"; case kept
};

#ifdef _WIN32
inline constexpr CommandLineRule kNativeCommandLineRule = CommandLineRule::kWindows;
#else
inline constexpr CommandLineRule kNativeCommandLineRule = CommandLineRule::kPosix;
#endif

// Fills BatchSettings from the whole command line. Option names are matched without regard
// to case; a value ends as the rule says, or at the end of the text, and is trimmed of blanks.
//
// The POSIX rule: an option is "/", a name of one or more ASCII letters and "=", standing at
// the start of the text or after a blank. Its value runs up to the blank before the next option
// or to the end. Options other than the four are skipped with their values, so they neither
// swallow nor cut their neighbours. Anything else, "/" and blanks included, belongs to the value:
// "/command=/usr/bin/rsync -a /src/ host:/dst/" keeps all its words, while a command argument
// that itself looks like an option must be written in double quotes ("/out=dir").
BatchSettings ParseCommandLine(std::string_view command_line,
                               CommandLineRule rule = kNativeCommandLineRule);

// The length of the option ("/", a name of ASCII letters, "=") that text begins with, or 0.
std::size_t OptionLength(std::string_view text);

// True when text begins with "/mode=", "/project=", "/command=" or "/window=", in any case.
bool BeginsWithBatchOption(std::string_view text);

// True when the command line asks for a batch run of a project: a batch mode and "/project=",
// whose empty value the batch run reports rather than ignoring.
bool AsksForBatchRun(const BatchSettings& settings);

}  // namespace pentrak
