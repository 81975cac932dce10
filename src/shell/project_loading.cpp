#include "shell/project_loading.h"

#include "platform/error.h"
#include "settings/program_options_file.h"
#include "settings/project_file.h"
#include "settings/project_history.h"
#include "shell/workbench.h"

namespace pentrak {

bool LoadProjectSettings(Workbench& workbench, const std::string& path) {
  try {
    ReadProjectSettings(workbench.fs, path, workbench.project);
  } catch (const Error& error) {
    ReportError(workbench.ui, error);
    return false;
  }
  SizeDefinitionTables(workbench.definition);
  SizeMacroTables(workbench.macros);
  SetWorkFiles(LogContextOf(workbench), workbench.project, workbench.program_folder);
  return true;
}

bool LoadProgramOptions(Workbench& workbench) {
  try {
    ReadProgramOptions(workbench.fs, workbench.program_folder, "", workbench.options);
  } catch (const Error& error) {
    ReportError(workbench.ui, error);
    return false;
  }
  ResizeProjectHistory(workbench.history, workbench.options.maximum_projects);
  SetWorkFiles(LogContextOf(workbench), workbench.project, workbench.program_folder);
  return true;
}

}  // namespace pentrak
