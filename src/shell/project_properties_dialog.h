#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "settings/project_properties.h"
#include "shell/dialog_state.h"

namespace pentrak {

struct Workbench;

// How a field of the properties dialog is edited.
enum class PropertiesFieldKind {
  kText,
  kPath,                // on leaving, LeavePathField with the row's path field
  kTag,                 // every change goes through ChangeTag with the row's tag field
  kShownOnly,           // the conditional else tag: built from the others, never typed
  kSwitch,              // a check box, 0 or 1
  kLimit,               // typed text, an integer on confirmation
  kOptimizationStatus,  // a choice among kOptimizationStatusCaptions (0 to 2)
  kOptimizationLevel,   // a choice among kOptimizationLevelCaptions (1 and 2)
  kPublishMethod,       // a choice among kPublishMethodCaptions (0 to 2)
};

// The captions of a choice field and the value of its first choice.
struct PropertiesChoices {
  std::span<const std::string_view> captions;
  int first = 0;
};

// The choices of a field of kind kOptimizationStatus, kOptimizationLevel or kPublishMethod.
PropertiesChoices ChoicesOf(PropertiesFieldKind kind);

// One field of the dialog. Its key in the project file is also the object name of its control.
struct PropertiesField {
  std::string_view key;
  std::string_view label;
  PropertiesTab tab;
  PropertiesFieldKind kind;
  TagField tag = TagField::kMacroStart;       // for kTag
  PathField path = PathField::kDocumentRoot;  // for kPath
};

// Every field the dialog shows, tab by tab, each tab's fields from top to bottom. The project
// file's parent-reference-tag-is-by-file is not shown.
std::span<const PropertiesField> ProjectPropertiesFields();

// The text of a field as shown: the working copy's value, or the typed text of a limit. A
// switch or a choice gives its number as text.
std::string PropertiesFieldText(const ProjectPropertiesForm& form, std::string_view key);

// Stores typed text: a tag through ChangeTag, a limit as typed, a switch or choice as its number.
// Paths are stored as typed; leaving the field normalizes them.
void SetPropertiesFieldText(ProjectPropertiesForm& form, std::string_view key, std::string text);

// False for a field that the choices made elsewhere on its tab leave without use (the SFTP
// fields while a local folder is chosen, and the other way round); the dialog disables it.
bool PropertiesFieldInUse(const ProjectPropertiesForm& form, std::string_view key);

// A note shown below a tab's fields, or "".
std::string_view TabNote(PropertiesTab tab);

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
