#pragma once

#include <string>

namespace pentrak {

struct Workbench;

// How a headless front end starts: the program options and history files are created with
// their defaults without asking on a first run, and a one-line notice says where.
struct StartUpOptions {
  bool create_files_silently = true;
  std::string seed_folder;   // where the samples come from; "" seeds nothing
  std::string command_line;  // the batch options ("/mode=2 /project=..."), if any
};

// Start-up steps 1 to 6 for the current program folder: the folder created and seeded with the
// samples it lacks, the display settings, the command line (into workbench.batch), the program
// options (checked, created on a first run, read), the sample project, the project history and
// the current project. The front end shows the project itself and starts a batch run when
// AsksForBatchRun(workbench.batch) says one is due. Returns false after reporting when the
// program must close.
bool StartUp(Workbench& workbench, const StartUpOptions& options);

// Opens a project file as the main window does: added to the history when it is not there,
// made current, then read. Returns false after reporting a failure.
bool OpenProjectFile(Workbench& workbench, const std::string& project_path);

}  // namespace pentrak
