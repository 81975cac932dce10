#include "shell/project_properties_dialog.h"

#include "platform/error.h"
#include "platform/paths.h"
#include "settings/field_error.h"
#include "settings/project_file.h"
#include "settings/project_history.h"
#include "shell/history_commands.h"
#include "shell/workbench.h"

namespace pentrak {

namespace {

void ShowPropertiesFieldError(UserInterface& ui, ProjectPropertiesForm& form,
                              const PropertiesFieldError& error) {
  ShowFieldError(ui, error.message);
  form.tab = error.tab;
}

// Validation and the conversion of the integer fields; false once a failure has been shown.
bool AcceptFields(UserInterface& ui, ProjectPropertiesForm& form) {
  std::optional<PropertiesFieldError> error = ValidateProjectProperties(form.working);
  try {
    if (!error) error = ApplyLimitFields(form.limits, form.working);
  } catch (const Error& conversion) {
    ReportError(ui, conversion);
    return false;
  }
  if (!error) return true;
  ShowPropertiesFieldError(ui, form, *error);
  return false;
}

// Samples first, then the file name; false when either fails or the user cancels.
bool PrepareNewProject(Workbench& workbench, ProjectPropertiesForm& form) {
  try {
    CreateSampleProject(workbench.fs, JoinPath(workbench.program_folder, "samples"), form.working,
                        form.switches);
  } catch (const Error& error) {
    ReportError(workbench.ui, error);
    return false;
  }
  std::string path = GetNewProjectFile(workbench.ui, ProposedProjectFileName(form.working));
  if (path.empty()) return false;
  form.working.project_file_path = path;
  return true;
}

// Writes the project file before the current record takes the working copy, so that a failed
// write leaves the current project as it was.
bool SaveProject(Workbench& workbench, const ProjectPropertiesForm& form) {
  try {
    WriteProjectFile(workbench.fs, form.working);
    if (form.new_project_mode) {
      AddProjectToHistory(workbench.history, form.working.name, form.working.project_file_path,
                          kNewProjectRefused);
    }
  } catch (const Error& error) {
    ReportError(workbench.ui, error);
    return false;
  }
  CopyProjectSettings(form.working, workbench.project);
  return true;
}

}  // namespace

ProjectPropertiesForm OpenProjectProperties(const Workbench& workbench) {
  return MakeCurrentProjectForm(workbench.project);
}

std::optional<ProjectPropertiesForm> OpenNewProject(Workbench& workbench) {
  try {
    CheckRoomInProjectHistory(workbench.history, kNewProjectRefused);
  } catch (const Error& error) {
    ReportError(workbench.ui, error);
    return std::nullopt;
  }
  return MakeNewProjectForm();
}

DialogState ConfirmProjectProperties(Workbench& workbench, ProjectPropertiesForm& form) {
  if (!AcceptFields(workbench.ui, form)) return DialogState::kOpen;
  if (form.new_project_mode && !PrepareNewProject(workbench, form)) return DialogState::kOpen;
  if (!SaveProject(workbench, form)) return DialogState::kOpen;
  // The project is saved; a failure to save or reload the history has been reported and
  // leaves nothing for the dialog to do again.
  SaveAndReloadProjectHistory(workbench);
  form.new_project_mode = false;
  return DialogState::kClosed;
}

DialogState CancelProjectProperties(ProjectPropertiesForm& form) {
  form.new_project_mode = false;
  return DialogState::kClosed;
}

}  // namespace pentrak
