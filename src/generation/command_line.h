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
};

// Fills BatchSettings from the whole command line. Option names are matched without regard
// to case; a value runs to the next "/" and is trimmed of blanks. On a case-sensitive file
// system the values keep their case.
BatchSettings ParseCommandLine(std::string_view command_line);

// True when the command line asks for a batch run of a project.
bool StartBatchTimer(const BatchSettings& settings);

}  // namespace pentrak
