#pragma once

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
BatchSettings ParseCommandLine(std::string_view command_line,
                               CommandLineRule rule = kNativeCommandLineRule);

// True when the command line asks for a batch run of a project: a batch mode and "/project=",
// whose empty value the batch run reports rather than ignoring.
bool StartBatchTimer(const BatchSettings& settings);

}  // namespace pentrak
