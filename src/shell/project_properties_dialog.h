#pragma once

#include <optional>

#include "settings/project_properties.h"

namespace pentrak {

struct Workbench;

// Whether the dialog is still open after a command.
enum class DialogState { kOpen, kClosed };

// The properties dialog opened for the current project.
ProjectPropertiesForm OpenProjectProperties(const Workbench& workbench);

// The new project command: when the history has no room left, error 10003 is reported and
// nothing opens; otherwise the dialog opens in new-project mode.
std::optional<ProjectPropertiesForm> OpenNewProject(Workbench& workbench);

// Confirms the dialog: validates the form, then (for a new project) creates the samples and
// asks for the project file, writes the project, adds a new one to the history as current,
// and reads history and current project back. Every failure is shown through the workbench's
// user interface and leaves the dialog open.
DialogState ConfirmProjectProperties(Workbench& workbench, ProjectPropertiesForm& form);

// Cancels the dialog: leaves new-project mode; the project, its file and the history are
// untouched.
DialogState CancelProjectProperties(ProjectPropertiesForm& form);

}  // namespace pentrak
