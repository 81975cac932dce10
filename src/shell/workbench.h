#pragma once

#include <string>

#include "engine/macro_tables.h"
#include "generation/command_line.h"
#include "generation/generation_run.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/user_interface.h"
#include "project/definition.h"
#include "search/search_file_list.h"
#include "settings/program_options.h"
#include "settings/project_history.h"
#include "settings/project_settings.h"
#include "settings/work_files.h"

namespace pentrak {

// The application object: every program-wide record of the system lives here, created by
// main and passed by reference. Functions take the narrowest piece they need.
struct Workbench {
  Workbench(UserInterface& ui_in, std::string program_folder_in)
      : ui(ui_in), program_folder(std::move(program_folder_in)) {}

  UserInterface& ui;
  FileSystem fs;
  Clock clock;
  std::string program_folder;  // holds pentrak.ini, ui.ini, projects.ini, samples/, temp/

  ProgramOptions options;
  DisplaySettings display;
  ProjectHistory history;
  ProjectSettings project;
  ProjectDefinition definition;
  MacroTables macros;
  WorkFiles work_files;
  BatchSettings batch;          // what the command line asked for
  GenerationState generation;   // a run in progress and the Stop request
  SearchFileList search_files;  // shared by the search and the replace tool
};

// The pieces of the workbench that a log write needs.
inline LogContext LogContextOf(Workbench& workbench) {
  return LogContext{workbench.work_files, workbench.fs, workbench.ui, workbench.options};
}

}  // namespace pentrak
