#pragma once

// For tests only: a workbench over a fresh program folder, with helpers to write project files
// and a history.

#include <string>
#include <vector>

#include "settings/program_options_file.h"
#include "settings/project_history.h"
#include "shell/history_commands.h"
#include "shell/startup.h"
#include "shell/workbench.h"
#include "testing/scripted_user_interface.h"
#include "testing/test_folder.h"

namespace pentrak {

class WorkbenchFixture {
 public:
  WorkbenchFixture() : workbench(ui, folder.path()) {
    SetProgramOptionDefaults(workbench.options, folder.path());
    ResizeProjectHistory(workbench.history, workbench.options.maximum_projects);
  }

  // A project file below the folder with these lines, e.g. {"name=Shop"}; returns its path.
  std::string Project(const std::string& file, const std::vector<std::string>& lines) {
    fs().CreateFolderPath(folder / file);
    fs().WriteLines(folder / file, lines);
    return folder / file;
  }
  // Writes the history file with these lines and reads it.
  void History(const std::vector<std::string>& lines) {
    fs().WriteLines(HistoryPathOf(workbench), lines);
    ReadProjectHistoryOf(workbench);
  }
  std::vector<std::string> HistoryLines() { return fs().ReadLines(HistoryPathOf(workbench)); }
  const FileSystem& fs() { return workbench.fs; }

  TestFolder folder;
  ScriptedUserInterface ui;
  Workbench workbench;
};

// A program started in the folder's "home" subfolder, seeded with the installed samples: the
// history holds the sample project only, and the start-up messages are cleared.
class StartedProgram {
 public:
  StartedProgram() {
    StartUpOptions options;
    options.seed_folder = PENTRAK_SOURCE_DIR;
    started = StartUp(workbench, options);
    ui.messages.clear();
  }

  std::string Read(const std::string& path) const { return workbench.fs.ReadFile(path); }

  TestFolder folder;
  ScriptedUserInterface ui;
  Workbench workbench{ui, folder / "home"};
  bool started = false;
};

}  // namespace pentrak
