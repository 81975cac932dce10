#pragma once

#include <string>

namespace pentrak {

struct Workbench;

// Reads a project file into the current project, sizes the definition and macro tables from
// its limits and sets up the work files for it. A failure is shown through the common error
// report, leaves the tables and work files as they were, and gives false.
bool LoadProjectSettings(Workbench& workbench, const std::string& path);

// Reads the default program options file, resizes the project history and sets up the work
// files. A failure is shown through the common error report and gives false.
bool LoadProgramOptions(Workbench& workbench);

}  // namespace pentrak
