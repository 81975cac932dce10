#include "shell/program_options_dialog.h"

#include <array>

#include "platform/error.h"
#include "settings/field_error.h"
#include "settings/program_options_file.h"
#include "settings/settings_text.h"
#include "settings/work_files.h"
#include "shell/history_commands.h"
#include "shell/project_loading.h"
#include "shell/workbench.h"

namespace pentrak {

namespace {

using Kind = OptionsFieldKind;
using Tab = OptionsTab;

constexpr std::string_view kMaximumProjects = "maximum-projects";
constexpr std::string_view kLinkCacheHours = "link-cache-hours";
constexpr std::string_view kDefaultDrive = "default-drive";
constexpr std::string_view kContentFileFilter = "content-file-filter";

constexpr auto kFields = std::to_array<OptionsField>({
    {"editor", "Text Editor", Tab::kApplications, Kind::kText},
    {"editor-options", "Editor Options (%FILE%, %LINE%)", Tab::kApplications, Kind::kText},
    {"editor-options-add-space", "Put a space between the file name and the editor options",
     Tab::kApplications, Kind::kSwitch},
    {"browser", "Web Browser", Tab::kApplications, Kind::kText},
    {"image-editor", "Image Editor", Tab::kApplications, Kind::kText},
    {"xml-editor", "XML Editor", Tab::kApplications, Kind::kText},
    {"custom-application-caption", "Custom Application 1 Caption", Tab::kApplications, Kind::kText},
    {"custom-application", "Custom Application 1", Tab::kApplications, Kind::kText},
    {"custom-application-caption2", "Custom Application 2 Caption", Tab::kApplications,
     Kind::kText},
    {"custom-application2", "Custom Application 2", Tab::kApplications, Kind::kText},
    {"custom-application-caption3", "Custom Application 3 Caption", Tab::kApplications,
     Kind::kText},
    {"custom-application3", "Custom Application 3", Tab::kApplications, Kind::kText},
    {"browse-folder1", "Folder to Explore", Tab::kApplications, Kind::kText},
    {"custom-caption1", "Custom Command 1 Caption", Tab::kCommands, Kind::kText},
    {"custom-command1", "Custom Command 1", Tab::kCommands, Kind::kText},
    {"custom-caption2", "Custom Command 2 Caption", Tab::kCommands, Kind::kText},
    {"custom-command2", "Custom Command 2", Tab::kCommands, Kind::kText},
    {"custom-caption3", "Custom Command 3 Caption", Tab::kCommands, Kind::kText},
    {"custom-command3", "Custom Command 3", Tab::kCommands, Kind::kText},
    {"custom-caption4", "Custom Command 4 Caption", Tab::kCommands, Kind::kText},
    {"custom-command4", "Custom Command 4", Tab::kCommands, Kind::kText},
    {"custom-caption5", "Custom Command 5 Caption", Tab::kCommands, Kind::kText},
    {"custom-command5", "Custom Command 5", Tab::kCommands, Kind::kText},
    {"custom-caption6", "Custom Command 6 Caption", Tab::kCommands, Kind::kText},
    {"custom-command6", "Custom Command 6", Tab::kCommands, Kind::kText},
    {"documents-default-action", "Double-Click on a Document", Tab::kCommands, Kind::kChoice},
    {kMaximumProjects, "Maximum Number of Projects", Tab::kProjects, Kind::kNumber},
    {"project-file", "Project History File", Tab::kProjects, Kind::kText},
    {"enable-default-drive", "Enable Default Drive", Tab::kProjects, Kind::kSwitch},
    {kDefaultDrive, "Default Drive", Tab::kProjects, Kind::kText},
    {"enable-logging", "Enable Logging", Tab::kGeneration, Kind::kSwitch},
    {"fast-file-system", "Fast File System", Tab::kGeneration, Kind::kSwitch},
    {"post-generate-refresh", "Refresh the Main Window after Generation", Tab::kGeneration,
     Kind::kSwitch},
    {"ignore-generation-errors", "Do Not Prompt on Generation Errors", Tab::kGeneration,
     Kind::kSwitch},
    {"ignore-missing-file-errors", "Do Not Prompt on Missing Files", Tab::kGeneration,
     Kind::kSwitch},
    {"check-external-links", "Check Links Asks the Web about External Links", Tab::kGeneration,
     Kind::kSwitch},
    {kLinkCacheHours, "Hours an External Link's Answer Is Kept", Tab::kGeneration, Kind::kNumber},
    {"enable-content-file-filter", "Enable Content File Filter", Tab::kDisplay, Kind::kSwitch},
    {kContentFileFilter, "Content File Filter", Tab::kDisplay, Kind::kText},
    {"display-all-macros", "Display All Macros in a Single List", Tab::kDisplay, Kind::kSwitch},
    {"show-macro-tags", "Show Macro Tags", Tab::kDisplay, Kind::kSwitch},
    {"sort-folders", "Sort Folders", Tab::kDisplay, Kind::kSwitch},
    {"large-display", "Large Display", Tab::kDisplay, Kind::kSwitch},
    {"resizable-border", "Resizable Main Window", Tab::kDisplay, Kind::kSwitch},
});

constexpr std::array<std::string_view, 6> kActionCaptions = {
    "Open with the associated application",
    "View with the web browser",
    "Edit with the text editor",
    "Edit the content file with the text editor",
    "Edit with the image editor",
    "Edit with the XML editor",
};

const SettingKey<ProgramOptions>& KeyOf(std::string_view key) {
  return FindSettingKey(ProgramOptionKeys(), key);
}

// A field error shows the tab of its field.
bool ShowOptionsFieldError(UserInterface& ui, ProgramOptionsForm& form, std::string_view message,
                           OptionsTab tab = OptionsTab::kProjects) {
  ShowFieldError(ui, message);
  form.tab = tab;
  return false;
}

// Steps 1 and 2: the typed maximum and the history file, then the link check's hours; false once
// the failure is shown.
bool AcceptFields(UserInterface& ui, ProgramOptionsForm& form, short& maximum_projects,
                  short& link_cache_hours) {
  try {
    maximum_projects = SettingInteger(form.maximum_projects, kMaximumProjects);
    link_cache_hours = SettingInteger(form.link_cache_hours, kLinkCacheHours);
  } catch (const Error& conversion) {
    ReportError(ui, conversion);
    return false;
  }
  if (maximum_projects < 1) {
    return ShowOptionsFieldError(ui, form,
                                 "The maximum number of Projects must be greater than 0.");
  }
  if (form.fields.project_history_file.empty()) {
    return ShowOptionsFieldError(ui, form, "The Project History File cannot be blank.");
  }
  if (link_cache_hours < 0) {
    return ShowOptionsFieldError(ui, form,
                                 "The hours an external link's answer is kept cannot be negative.",
                                 OptionsTab::kGeneration);
  }
  return true;
}

// Step 4: the form's fields, but a disabled drive or filter field keeps the option it had.
ProgramOptions OptionsFromForm(const ProgramOptionsForm& form, const ProgramOptions& current,
                               short maximum_projects, short link_cache_hours) {
  ProgramOptions next = form.fields;
  next.maximum_projects = maximum_projects;
  next.link_cache_hours = link_cache_hours;
  if (next.enable_default_drive != 1) next.default_drive = current.default_drive;
  if (next.enable_content_file_filter != 1) {
    next.content_file_filter = current.content_file_filter;
  }
  return next;
}

}  // namespace

std::string_view OptionsTabCaption(OptionsTab tab) {
  switch (tab) {
    case OptionsTab::kApplications:
      return "Applications";
    case OptionsTab::kCommands:
      return "Commands";
    case OptionsTab::kProjects:
      return "Projects";
    case OptionsTab::kGeneration:
      return "Generation";
    case OptionsTab::kDisplay:
      return "Display";
  }
  return "Applications";
}

std::span<const OptionsField> ProgramOptionsFields() { return kFields; }

std::span<const std::string_view> DocumentsDefaultActionCaptions() { return kActionCaptions; }

ProgramOptionsForm OpenProgramOptions(const Workbench& workbench) {
  ProgramOptionsForm form;
  form.fields = workbench.options;
  form.maximum_projects = std::to_string(workbench.options.maximum_projects);
  form.link_cache_hours = std::to_string(workbench.options.link_cache_hours);
  return form;
}

std::string FieldText(const ProgramOptionsForm& form, std::string_view key) {
  if (key == kMaximumProjects) return form.maximum_projects;
  if (key == kLinkCacheHours) return form.link_cache_hours;
  const SettingKey<ProgramOptions>& row = KeyOf(key);
  if (row.text_of != nullptr) return row.text_of(form.fields);
  return std::to_string(row.number_of(form.fields));
}

void SetFieldText(ProgramOptionsForm& form, std::string_view key, std::string text) {
  if (key == kMaximumProjects) {
    form.maximum_projects = std::move(text);
    return;
  }
  if (key == kLinkCacheHours) {
    form.link_cache_hours = std::move(text);
    return;
  }
  const SettingKey<ProgramOptions>& row = KeyOf(key);
  if (row.text != nullptr) {
    row.text(form.fields) = std::move(text);
  } else {
    row.number(form.fields) = SettingInteger(text, key);
  }
}

bool FieldChecked(const ProgramOptionsForm& form, std::string_view key) {
  const SettingKey<ProgramOptions>& row = KeyOf(key);
  return row.number_of != nullptr && row.number_of(form.fields) == 1;
}

void SetFieldChecked(ProgramOptionsForm& form, std::string_view key, bool checked) {
  const SettingKey<ProgramOptions>& row = KeyOf(key);
  if (row.number != nullptr) row.number(form.fields) = checked ? 1 : 0;
}

std::string_view FieldUnavailableReason([[maybe_unused]] std::string_view key) {
#ifndef _WIN32
  // A drive letter put before "/home/..." only breaks the path.
  if (key == kDefaultDrive || key == "enable-default-drive") {
    return "Only Windows has drive letters: paths here start at \"/\".";
  }
#endif
  return "";
}

bool FieldEnabled(const ProgramOptionsForm& form, std::string_view key) {
  if (!FieldUnavailableReason(key).empty()) return false;
  if (key == kDefaultDrive) return form.fields.enable_default_drive == 1;
  if (key == kContentFileFilter) return form.fields.enable_content_file_filter == 1;
  return true;
}

DialogState ConfirmProgramOptions(Workbench& workbench, ProgramOptionsForm& form,
                                  const std::function<void(bool resizable)>& set_border) {
  short maximum_projects = 0;
  short link_cache_hours = 0;
  if (!AcceptFields(workbench.ui, form, maximum_projects, link_cache_hours)) {
    return DialogState::kOpen;
  }
  // The note goes through the log as the old options have it, so that the log is left holding
  // only the note whether logging was on before or not.
  if (form.fields.enable_logging != 1) {
    WriteLog({workbench.work_files, workbench.fs, workbench.ui, workbench.options},
             kLoggingDisabledNote, true, true);
  }
  ProgramOptions next =
      OptionsFromForm(form, workbench.options, maximum_projects, link_cache_hours);
  try {
    WriteProgramOptions(workbench.fs, workbench.program_folder, "", next);
  } catch (const Error& error) {
    ReportError(workbench.ui, error);
    return DialogState::kOpen;
  }
  if (LoadProgramOptions(workbench)) CheckAndReloadProjectHistory(workbench, false);
  if (set_border) set_border(workbench.options.resizable_border == 1);
  return DialogState::kClosed;
}

}  // namespace pentrak
