#include "shell/project_properties_dialog.h"

#include <array>
#include <stdexcept>

#include "platform/error.h"
#include "platform/paths.h"
#include "settings/field_error.h"
#include "settings/project_file.h"
#include "settings/project_history.h"
#include "settings/settings_text.h"
#include "shell/history_commands.h"
#include "shell/workbench.h"

namespace pentrak {

namespace {

using Kind = PropertiesFieldKind;
using Tab = PropertiesTab;

constexpr PropertiesField Text(std::string_view key, std::string_view label, Tab tab) {
  return {key, label, tab, Kind::kText};
}
constexpr PropertiesField Path(std::string_view key, std::string_view label, PathField path) {
  return {key, label, Tab::kGeneral, Kind::kPath, TagField::kMacroStart, path};
}
constexpr PropertiesField Tag(std::string_view key, std::string_view label, TagField tag) {
  return {key, label, Tab::kMacros, Kind::kTag, tag};
}
constexpr PropertiesField Limit(std::string_view key, std::string_view label) {
  return {key, label, Tab::kMemoryManagement, Kind::kLimit};
}

constexpr auto kFields = std::to_array<PropertiesField>({
    Text("name", "Project Name", Tab::kGeneral),
    Path("document-root", "Document Root", PathField::kDocumentRoot),
    Path("content-root", "Content Root", PathField::kContentRoot),
    Text("default-content-root", "Default Content Root", Tab::kGeneral),
    Path("definition-file", "Project Definition File", PathField::kDefinitionFile),
    Path("project-macro-file", "Project Macro File", PathField::kProjectMacroFile),
    {"display-project-macro-file", "Display the Project Macro File", Tab::kGeneral, Kind::kSwitch},
    Text("global-content-files", "Global Content Files", Tab::kGeneral),
    Tag("macro-start-tag", "Macro Start Tag", TagField::kMacroStart),
    Tag("macro-end-tag", "Macro End Tag", TagField::kMacroEnd),
    Tag("parameter-start-tag", "Parameter Start Tag", TagField::kParameterStart),
    Tag("parameter-end-tag", "Parameter End Tag", TagField::kParameterEnd),
    Tag("wildcard-tag", "Wildcard", TagField::kWildcard),
    Tag("parent-reference-tag", "Parent Reference", TagField::kParentReference),
    Tag("concatenate-tag", "Concatenate", TagField::kConcatenate),
    Tag("single-quote-escape-tag", "Single Quote Escape", TagField::kSingleQuoteEscape),
    Tag("non-blank-delete-tag", "Non-Blank Delete", TagField::kNonBlankDelete),
    Tag("required-tag", "Required", TagField::kRequired),
    Tag("conditional-start-tag", "Conditional Start", TagField::kConditionalStart),
    {"conditional-else-tag", "Conditional Else", Tab::kMacros, Kind::kShownOnly},
    Tag("conditional-end-tag", "Conditional End", TagField::kConditionalEnd),
    Tag("line-continuation", "Line Continuation", TagField::kLineContinuation),
    {"delete-line", "Delete the Line when a Macro is Blank", Tab::kMacros, Kind::kSwitch},
    Text("delete-line-exceptions", "Except for the Macros", Tab::kMacros),
    {"max-nested-macros", "Maximum Nested Macros", Tab::kMacros, Kind::kLimit},
    {"optimization-status", "Optimization", Tab::kHtmlOptimization, Kind::kOptimizationStatus},
    Text("optimize-exclude-list", "Extensions Not Optimized", Tab::kHtmlOptimization),
    {"optimization-level", "Optimization Level", Tab::kHtmlOptimization, Kind::kOptimizationLevel},
    Limit("max-folders", "Folders"),
    Limit("max-globals", "Global Content Files"),
    Limit("max-docs", "Documents per Folder"),
    Limit("max-folder-globals", "Folder Content Files per Folder"),
    Limit("max-content-files", "Content Files per Document"),
    Limit("max-global-macros", "Macros per Global Content File"),
    Limit("max-folder-global-macros", "Macros per Folder Content File"),
    Limit("max-content-file-macros", "Macros per Content File"),
    Limit("max-project-macros", "Macros per Project Content File"),
    Limit("max-parameters", "Parameters per Macro"),
    Text("reserved-date-macro", "Date Macro", Tab::kAdvanced),
    Text("reserved-project-name-macro", "Project Name Macro", Tab::kAdvanced),
    Text("reserved-folder-name-macro", "Folder Name Macro", Tab::kAdvanced),
    Text("reserved-document-name-macro", "Document Name Macro", Tab::kAdvanced),
    {"temporary-files-path", "Temporary Files Path", Tab::kAdvanced, Kind::kPath,
     TagField::kMacroStart, PathField::kTemporaryFilesPath},
    {"custom-project-path", "Custom Project Path (%PROJECT_PATH%)", Tab::kAdvanced, Kind::kPath,
     TagField::kMacroStart, PathField::kCustomProjectPath},
    {"custom-project-path-with-drive", "Put the Default Drive in front of the Custom Project Path",
     Tab::kAdvanced, Kind::kSwitch},
    {"publish-method", "Publish To", Tab::kPublish, Kind::kPublishMethod},
    {"publish-folder", "Local Folder", Tab::kPublish, Kind::kPath, TagField::kMacroStart,
     PathField::kPublishFolder},
    Text("publish-host", "SFTP Host", Tab::kPublish),
    Text("publish-port", "Port (empty for 22)", Tab::kPublish),
    Text("publish-user", "User Name (empty for your login name)", Tab::kPublish),
    Text("publish-remote-folder", "Folder on the Server", Tab::kPublish),
    {"publish-key-file", "Key File (empty for ssh-agent, then your keys in ~/.ssh)", Tab::kPublish,
     Kind::kPath, TagField::kMacroStart, PathField::kPublishKeyFile},
});

const PropertiesField& FieldOf(std::string_view key) {
  for (const PropertiesField& field : kFields) {
    if (field.key == key) return field;
  }
  throw std::logic_error("no properties field " + std::string(key));
}

void ShowPropertiesFieldError(UserInterface& ui, ProjectPropertiesForm& form,
                              const PropertiesFieldError& error) {
  if (error.error_number != 0) {
    ReportError(ui, Error(error.error_number, error.message));
  } else {
    ShowFieldError(ui, error.message);
  }
  form.tab = error.tab;
}

// Validation and the conversion of the integer fields; false once a failure has been shown.
bool AcceptFields(UserInterface& ui, ProjectPropertiesForm& form) {
  std::optional<PropertiesFieldError> error = ValidateProjectProperties(form.working);
  if (!error) error = ApplyLimitFields(form.limits, form.working);
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

std::span<const PropertiesField> ProjectPropertiesFields() { return kFields; }

bool PropertiesFieldInUse(const ProjectPropertiesForm& form, std::string_view key) {
  if (key == "publish-folder") return form.working.publish.method == kPublishToFolder;
  if (key.starts_with("publish-") && key != "publish-method") {
    return form.working.publish.method == kPublishBySftp;
  }
  return true;
}

std::string_view TabNote(PropertiesTab tab) {
  if (tab != PropertiesTab::kPublish) return "";
  return "Publish sends only the files that changed since the last publish. The SFTP server's "
         "host key is checked against ~/.ssh/known_hosts, and no password is ever stored: the "
         "server must accept a key from ssh-agent or the key file. A site with broken internal "
         "links (see Check Links in the Tools menu) is sent only after you confirm.";
}

PropertiesChoices ChoicesOf(PropertiesFieldKind kind) {
  switch (kind) {
    case Kind::kOptimizationLevel:
      return {kOptimizationLevelCaptions, 1};
    case Kind::kPublishMethod:
      return {kPublishMethodCaptions, 0};
    default:
      return {kOptimizationStatusCaptions, 0};
  }
}

std::string PropertiesFieldText(const ProjectPropertiesForm& form, std::string_view key) {
  if (const std::string* limit = LimitFieldText(form.limits, key)) {
    return *limit;
  }
  const SettingKey<ProjectSettings>& row = FindProjectSettingKey(key);
  if (row.text_of != nullptr) return row.text_of(form.working);
  return std::to_string(row.number_of(form.working));
}

void SetPropertiesFieldText(ProjectPropertiesForm& form, std::string_view key, std::string text) {
  const PropertiesField& field = FieldOf(key);
  if (field.kind == Kind::kTag) {
    ChangeTag(form, field.tag, std::move(text));
  } else if (std::string* limit = LimitFieldText(form.limits, key)) {
    *limit = std::move(text);
  } else if (field.kind != Kind::kShownOnly) {
    const SettingKey<ProjectSettings>& row = FindProjectSettingKey(key);
    if (row.text != nullptr) {
      row.text(form.working) = std::move(text);
    } else {
      row.number(form.working) = SettingInteger(text, key);
    }
  }
}

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
