#include "shell/history_commands.h"

#include "platform/error.h"
#include "platform/paths.h"
#include "settings/project_history.h"
#include "settings/settings_text.h"
#include "shell/project_loading.h"
#include "shell/workbench.h"

namespace pentrak {

namespace {

bool HasCurrentEntry(const ProjectHistory& history) {
  return history.current_index >= 0 && history.current_index <= history.last_index;
}

ProjectHistoryEntry& CurrentEntry(ProjectHistory& history) {
  return history.entries[static_cast<std::size_t>(history.current_index)];
}

}  // namespace

std::string HistoryPathOf(const Workbench& workbench) {
  return ProjectHistoryPath(workbench.options, workbench.program_folder);
}

bool ReadProjectHistoryOf(Workbench& workbench) {
  try {
    ReadProjectHistory(workbench.fs, HistoryPathOf(workbench), workbench.project.project_file_path,
                       workbench.history);
  } catch (const Error& error) {
    ReportError(workbench.ui, error);
    return false;
  }
  return true;
}

bool ReadProjectFile(Workbench& workbench, const std::string& path) {
  if (!HasCurrentEntry(workbench.history)) return true;
  return LoadProjectSettings(workbench,
                             path.empty() ? CurrentEntry(workbench.history).project_file : path);
}

bool SaveAndReloadProjectHistory(Workbench& workbench) {
  try {
    WriteProjectHistory(workbench.fs, HistoryPathOf(workbench), workbench.history);
  } catch (const Error& error) {
    ReportError(workbench.ui, error);
    return false;
  }
  if (!ReadProjectHistoryOf(workbench)) return false;
  return ReadProjectFile(workbench, "");
}

bool CheckAndReloadProjectHistory(Workbench& workbench, bool importing) {
  if (!CheckProjectHistoryFile(workbench.ui, workbench.fs, HistoryPathOf(workbench),
                               workbench.program_folder, importing, workbench.history)) {
    return false;
  }
  return ReadProjectHistoryOf(workbench) && ReadProjectFile(workbench, "");
}

bool ChooseProject(Workbench& workbench, int index) {
  ProjectHistory& history = workbench.history;
  if (index < 0 || index > history.last_index) return false;
  history.current_index = index;
  ClearCurrentProjectMark(history);
  CurrentEntry(history).status = kHistoryCurrent;
  return SaveAndReloadProjectHistory(workbench);
}

OpenProjectOutcome OpenProject(Workbench& workbench, const std::string& path) {
  std::string file = path;
  if (file.empty()) {
    // The chooser starts beside the current project, or in the program folder.
    const std::string& current = workbench.project.project_file_path;
    const std::string start = current.empty() ? workbench.program_folder : FolderOfPath(current);
    std::optional<std::string> chosen = workbench.ui.ChooseOpenFile(
        "Open Project", "Pentrak Projects|*.web", JoinPath(start, "*.web"));
    if (!chosen || chosen->empty()) return OpenProjectOutcome::kCancelled;
    file = *chosen;
  }
  ProjectHistory& history = workbench.history;
  int index = FindProjectInHistory(history, file);
  if (index >= 0) {
    ClearCurrentProjectMark(history);
    history.entries[static_cast<std::size_t>(index)].status = kHistoryCurrent;
  } else {
    std::string name =
        GetFileSettingValue(workbench.fs, file, "name", workbench.project.project_file_path);
    if (name.empty()) return OpenProjectOutcome::kNotAProject;
    try {
      AddProjectToHistory(history, name, file, kOpenProjectRefused);
    } catch (const Error& error) {
      ReportError(workbench.ui, error);
      return OpenProjectOutcome::kFailed;
    }
  }
  return SaveAndReloadProjectHistory(workbench) ? OpenProjectOutcome::kOpened
                                                : OpenProjectOutcome::kFailed;
}

bool RemoveCurrentProject(Workbench& workbench) {
  ProjectHistory& history = workbench.history;
  if (!HasCurrentEntry(history)) return false;
  std::string text = "Are you sure you want to remove the Project \"" + CurrentEntry(history).name +
                     "\" from Pentrak?";
  if (workbench.ui.ShowMessage("Remove Project", text, Icon::kQuestion, Buttons::kOkCancel) !=
      Answer::kOk) {
    return false;
  }
  CurrentEntry(history).status = kHistoryDropped;
  return SaveAndReloadProjectHistory(workbench);
}

}  // namespace pentrak
