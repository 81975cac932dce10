#include "settings/project_properties.h"

#include <array>
#include <utility>

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text_lines.h"
#include "platform/user_interface.h"
#include "settings/project_file.h"
#include "settings/publish_destination.h"
#include "settings/settings_text.h"

namespace pentrak {

namespace {

// The tags that must not occur in one another; the else tag and the line continuation are
// built from or used apart from these and take no part.
constexpr std::array<std::string MacroTags::*, 12> kCheckedTags = {
    &MacroTags::macro_start,      &MacroTags::macro_end,
    &MacroTags::parameter_start,  &MacroTags::parameter_end,
    &MacroTags::wildcard,         &MacroTags::non_blank_delete,
    &MacroTags::parent_reference, &MacroTags::single_quote_escape,
    &MacroTags::concatenate,      &MacroTags::conditional_start,
    &MacroTags::conditional_end,  &MacroTags::required,
};

std::string MacroTags::*TagMember(TagField field) {
  switch (field) {
    case TagField::kMacroStart:
      return &MacroTags::macro_start;
    case TagField::kMacroEnd:
      return &MacroTags::macro_end;
    case TagField::kParameterStart:
      return &MacroTags::parameter_start;
    case TagField::kParameterEnd:
      return &MacroTags::parameter_end;
    case TagField::kWildcard:
      return &MacroTags::wildcard;
    case TagField::kNonBlankDelete:
      return &MacroTags::non_blank_delete;
    case TagField::kParentReference:
      return &MacroTags::parent_reference;
    case TagField::kSingleQuoteEscape:
      return &MacroTags::single_quote_escape;
    case TagField::kConcatenate:
      return &MacroTags::concatenate;
    case TagField::kConditionalStart:
      return &MacroTags::conditional_start;
    case TagField::kConditionalEnd:
      return &MacroTags::conditional_end;
    case TagField::kRequired:
      return &MacroTags::required;
    case TagField::kLineContinuation:
      return &MacroTags::line_continuation;
  }
  return &MacroTags::macro_start;
}

// One integer field of the dialog: its key, its text, its place in the record, and the wording
// of the field error for a value below 1 (tables are sized from these, so 0 or less cannot work).
struct LimitField {
  const char* key;
  std::string LimitFields::*text;
  short ProjectSettings::*value;
  PropertiesTab tab;
  const char* subject;  // "The maximum number of Folders", as the messages name the field
};

constexpr std::array<LimitField, 11> kLimitFields = {{
    {"max-nested-macros", &LimitFields::max_nested_macros, &ProjectSettings::max_nested_macros,
     PropertiesTab::kMacros, "The maximum number of nested Macros"},
    {"max-folders", &LimitFields::max_folders, &ProjectSettings::max_folders,
     PropertiesTab::kMemoryManagement, "The maximum number of Folders"},
    {"max-globals", &LimitFields::max_globals, &ProjectSettings::max_globals,
     PropertiesTab::kMemoryManagement, "The maximum number of Global Content Files"},
    {"max-docs", &LimitFields::max_docs, &ProjectSettings::max_docs,
     PropertiesTab::kMemoryManagement, "The maximum number of Documents per Folder"},
    {"max-folder-globals", &LimitFields::max_folder_globals, &ProjectSettings::max_folder_globals,
     PropertiesTab::kMemoryManagement, "The maximum number of Folder Content Files per Folder"},
    {"max-content-files", &LimitFields::max_content_files, &ProjectSettings::max_content_files,
     PropertiesTab::kMemoryManagement, "The maximum number of Content Files per Document"},
    {"max-global-macros", &LimitFields::max_global_macros, &ProjectSettings::max_global_macros,
     PropertiesTab::kMemoryManagement, "The maximum number of Macros per Global Content File"},
    {"max-folder-global-macros", &LimitFields::max_folder_global_macros,
     &ProjectSettings::max_folder_global_macros, PropertiesTab::kMemoryManagement,
     "The maximum number of Macros per Folder Content File"},
    {"max-content-file-macros", &LimitFields::max_content_file_macros,
     &ProjectSettings::max_content_file_macros, PropertiesTab::kMemoryManagement,
     "The maximum number of Macros per Content File"},
    {"max-project-macros", &LimitFields::max_project_macros, &ProjectSettings::max_project_macros,
     PropertiesTab::kMemoryManagement, "The maximum number of Macros per Project Content File"},
    {"max-parameters", &LimitFields::max_parameters, &ProjectSettings::max_parameters,
     PropertiesTab::kMemoryManagement, "The maximum number of Parameters per Macro"},
}};

// The ten limits of the memory management tab: every entry but the nesting depth.
constexpr std::size_t kFirstMemoryLimit = 1;

void ShowLimits(const ProjectSettings& record, LimitFields& limits, std::size_t first) {
  for (std::size_t i = first; i < kLimitFields.size(); ++i) {
    limits.*kLimitFields[i].text = std::to_string(record.*kLimitFields[i].value);
  }
}

ProjectSettings NewProjectDefaults() {
  ProjectSettings defaults;
  SetNewProjectDefaults(defaults);
  return defaults;
}

void RefreshSamples(ProjectPropertiesForm& form) {
  ShowSampleMacroDefinition(form);
  ShowSampleAdvancedMacros(form);
}

ProjectPropertiesForm FormFor(ProjectSettings working, bool new_project_mode) {
  ProjectPropertiesForm form;
  form.new_project_mode = new_project_mode;
  form.working = std::move(working);
  ShowLimits(form.working, form.limits, 0);
  RefreshSamples(form);
  return form;
}

// Copies one sample when it exists and its target does not; a user's file is never replaced.
void CopySample(const FileSystem& fs, const std::string& samples_folder, std::string_view name,
                const std::string& target) {
  std::string source = JoinPath(samples_folder, NormalizeSeparators(name));
  if (fs.FileExists(source) && !fs.FileExists(target)) fs.CopyFile(source, target);
}

void CreateFolderIfMissing(const FileSystem& fs, const std::string& folder) {
  if (!fs.FolderExists(folder)) fs.CreateFolderPath(JoinPath(folder, ""));
}

void CreateSampleFiles(const FileSystem& fs, const std::string& samples_folder,
                       ProjectSettings& working, const SampleProjectSwitches& switches) {
  if (switches.create_roots && !working.document_root.empty()) {
    CreateFolderIfMissing(fs, working.document_root);
  }
  const std::string& root = working.content_root;
  if (root.empty()) return;
  std::string templates = JoinPath(root, "templates");
  std::string images = JoinPath(root, "images");
  if (switches.create_roots) {
    CreateFolderIfMissing(fs, root);
    CreateFolderIfMissing(fs, templates);
    CreateFolderIfMissing(fs, images);
  }
  if (switches.create_definition) {
    if (working.definition_file.empty()) working.definition_file = "project.txt";
    CopySample(fs, samples_folder, "project.txt", JoinPath(root, working.definition_file));
    CopySample(fs, samples_folder, "images/space.gif", JoinPath(images, "space.gif"));
    CopySample(fs, samples_folder, "images/pentrak.gif", JoinPath(images, "pentrak.gif"));
  }
  if (switches.create_samples) {
    CopySample(fs, samples_folder, "templates/general.tpl", JoinPath(templates, "general.tpl"));
    for (std::string_view name : {"globals.par", "index.par", "tools.par", "partners.par"}) {
      CopySample(fs, samples_folder, name, JoinPath(root, name));
    }
  }
}

}  // namespace

std::string_view TabCaption(PropertiesTab tab) {
  switch (tab) {
    case PropertiesTab::kGeneral:
      return "General";
    case PropertiesTab::kMacros:
      return "Macros";
    case PropertiesTab::kHtmlOptimization:
      return "HTML Optimization";
    case PropertiesTab::kMemoryManagement:
      return "Memory Management";
    case PropertiesTab::kAdvanced:
      return "Advanced";
    case PropertiesTab::kPublish:
      return "Publish";
  }
  return "General";
}

std::string* LimitFieldText(LimitFields& limits, std::string_view key) {
  for (const LimitField& field : kLimitFields) {
    if (field.key == key) return &(limits.*field.text);
  }
  return nullptr;
}

const std::string* LimitFieldText(const LimitFields& limits, std::string_view key) {
  return LimitFieldText(const_cast<LimitFields&>(limits), key);
}

ProjectPropertiesForm MakeCurrentProjectForm(const ProjectSettings& current) {
  ProjectSettings working;
  CopyProjectSettings(current, working);
  return FormFor(std::move(working), false);
}

ProjectPropertiesForm MakeNewProjectForm() { return FormFor(NewProjectDefaults(), true); }

std::string_view ConfirmCaption(const ProjectPropertiesForm& form) {
  return form.new_project_mode ? "Create" : "OK";
}

std::string NormalizeTypedPath(std::string_view text, bool folder) {
  std::string path = NormalizeSeparators(TrimBlanks(text));
  if (folder && !path.empty() && !IsSeparator(path.back())) path += kNativeSeparator;
  return path;
}

void LeavePathField(ProjectPropertiesForm& form, PathField field) {
  ProjectSettings& w = form.working;
  switch (field) {
    case PathField::kDocumentRoot:
      w.document_root = NormalizeTypedPath(w.document_root, true);
      if (w.content_root.empty()) w.content_root = w.document_root;
      break;
    case PathField::kContentRoot:
      w.content_root = NormalizeTypedPath(w.content_root, true);
      if (w.document_root.empty()) w.document_root = w.content_root;
      break;
    case PathField::kTemporaryFilesPath:
      w.temporary_files_path = NormalizeTypedPath(w.temporary_files_path, true);
      break;
    case PathField::kCustomProjectPath:
      w.custom_project_path = NormalizeTypedPath(w.custom_project_path, true);
      break;
    case PathField::kDefinitionFile:
      w.definition_file = NormalizeTypedPath(w.definition_file, false);
      break;
    case PathField::kProjectMacroFile:
      w.project_macro_file = NormalizeTypedPath(w.project_macro_file, false);
      break;
    case PathField::kPublishFolder:
      w.publish.folder = NormalizeTypedPath(w.publish.folder, true);
      break;
    case PathField::kPublishKeyFile:
      w.publish.key_file = NormalizeTypedPath(w.publish.key_file, false);
      break;
  }
}

void ActivateOptimizeExcludeList(ProjectPropertiesForm& form) {
  form.working.optimization_status = 1;
}

void ChangeTag(ProjectPropertiesForm& form, TagField field, std::string value) {
  form.working.tags.*TagMember(field) = std::move(value);
  if (field == TagField::kConditionalStart || field == TagField::kConditionalEnd) {
    SetTagConditionalElse(form.working.tags);
  }
  RefreshSamples(form);
}

void SetTagConditionalElse(MacroTags& tags) {
  tags.conditional_else = tags.conditional_end + tags.conditional_start;
}

void ShowSampleMacroDefinition(ProjectPropertiesForm& form) {
  const MacroTags& t = form.working.tags;
  std::string text = t.macro_start + "MACRO";
  if (!t.parameter_start.empty() && !t.parameter_end.empty()) {
    text += t.parameter_start + "param1:value1" + t.parameter_end;
  }
  text += t.macro_end + ":";
  form.samples.macro_definition = std::move(text);
}

void ShowSampleAdvancedMacros(ProjectPropertiesForm& form) {
  const MacroTags& t = form.working.tags;
  auto option = [&t](const std::string& tag) {
    return t.macro_start + tag + "MACRO" + t.macro_end;
  };
  SampleTexts& s = form.samples;
  s.wildcard = t.macro_start + "MACRO" + t.wildcard + t.macro_end;
  s.parent_reference = option(t.parent_reference);
  s.concatenate = option(t.concatenate);
  s.single_quote_escape = option(t.single_quote_escape);
  s.non_blank_delete = option(t.non_blank_delete);
  s.required = option(t.required);
  s.conditional_start = option(t.conditional_start);
  s.conditional_else = t.macro_start + t.conditional_else + t.macro_end;
  s.conditional_end = t.macro_start + t.conditional_end + t.macro_end;
}

bool TagsOverlap(const MacroTags& tags) {
  for (std::size_t a = 0; a < kCheckedTags.size(); ++a) {
    for (std::size_t b = 0; b < kCheckedTags.size(); ++b) {
      const std::string& inner = tags.*kCheckedTags[b];
      if (a != b && !inner.empty() && (tags.*kCheckedTags[a]).find(inner) != std::string::npos) {
        return true;
      }
    }
  }
  return false;
}

std::optional<PropertiesFieldError> ValidateProjectProperties(const ProjectSettings& working) {
  const MacroTags& t = working.tags;
  if (working.name.empty()) {
    return PropertiesFieldError{"Project Name cannot be blank.", PropertiesTab::kGeneral};
  }
  if (t.macro_start.empty()) {
    return PropertiesFieldError{"Macro Tag starting value cannot be blank.",
                                PropertiesTab::kMacros};
  }
  if (t.macro_end.empty()) {
    return PropertiesFieldError{"Macro Tag ending value cannot be blank.", PropertiesTab::kMacros};
  }
  if (!t.conditional_start.empty() && t.conditional_end.empty()) {
    return PropertiesFieldError{
        "Please enter an ending values for the Conditional Block Macro Tag.",
        PropertiesTab::kMacros};
  }
  if (!t.conditional_end.empty() && t.conditional_start.empty()) {
    return PropertiesFieldError{
        "Please enter a starting values for the Conditional Block Macro Tag.",
        PropertiesTab::kMacros};
  }
  if (TagsOverlap(t)) {
    return PropertiesFieldError{
        "Macro Tags cannot be substrings of one another. Please double-check all of the Macro "
        "Tags and Advanced Macro Tags that you have entered.",
        PropertiesTab::kMacros};
  }
  if (std::optional<std::string> publish = CheckPublishSettings(working.publish)) {
    return PropertiesFieldError{std::move(*publish), PropertiesTab::kPublish};
  }
  return std::nullopt;
}

std::optional<PropertiesFieldError> ApplyLimitFields(const LimitFields& limits,
                                                     ProjectSettings& working) {
  std::array<short, kLimitFields.size()> values{};
  for (std::size_t i = 0; i < kLimitFields.size(); ++i) {
    const LimitField& field = kLimitFields[i];
    try {
      values[i] = SettingInteger(limits.*field.text, field.key);
    } catch (const Error& error) {
      return PropertiesFieldError{std::string(field.subject) + " must be a whole number.",
                                  field.tab, error.number()};
    }
    if (values[i] < 1) {
      return PropertiesFieldError{std::string(field.subject) + " must be greater than 0.",
                                  field.tab};
    }
  }
  for (std::size_t i = 0; i < kLimitFields.size(); ++i) {
    working.*kLimitFields[i].value = values[i];
  }
  return std::nullopt;
}

void ResetMacroTags(ProjectPropertiesForm& form) {
  ProjectSettings defaults = NewProjectDefaults();
  ProjectSettings& w = form.working;
  std::string line_continuation = std::move(w.tags.line_continuation);
  w.tags = defaults.tags;
  w.tags.line_continuation = std::move(line_continuation);
  w.delete_line = defaults.delete_line;
  w.delete_line_exceptions = defaults.delete_line_exceptions;
  RefreshSamples(form);
}

void ResetMemoryManagement(ProjectPropertiesForm& form) {
  ShowLimits(NewProjectDefaults(), form.limits, kFirstMemoryLimit);
}

void ResetHtmlOptimization(ProjectPropertiesForm& form) { form.working.optimization_status = 0; }

void CreateSampleProject(const FileSystem& fs, const std::string& samples_folder,
                         ProjectSettings& working, const SampleProjectSwitches& switches) {
  try {
    CreateSampleFiles(fs, samples_folder, working, switches);
  } catch (const Error&) {
    throw Error(kErrorSampleProject, "Error creating sample project files.");
  }
}

std::string ProposedProjectFileName(const ProjectSettings& working) {
  return JoinPath(working.content_root, working.name + ".web");
}

std::string GetNewProjectFile(UserInterface& ui, std::string_view proposed) {
  std::optional<std::string> chosen =
      ui.ChooseSaveFile("New Project", "Pentrak Projects (*.web)|*.web", proposed);
  return chosen.value_or("");
}

}  // namespace pentrak
