#include "settings/project_file.h"

#include <array>
#include <vector>

#include "platform/error.h"
#include "platform/file_system.h"
#include "settings/project_settings.h"
#include "settings/setting_keys.h"

namespace pentrak {

namespace {

using Key = SettingKey<ProjectSettings>;
using P = ProjectSettings;
using T = MacroTags;

constexpr Key Text(std::string_view key, std::string_view missing, std::string_view fresh,
                   auto field) {
  return TextKey<P>(key, missing, fresh, field);
}
constexpr Key Integer(std::string_view key, std::string_view missing, std::string_view fresh,
                      auto field) {
  return IntegerKey<P>(key, missing, fresh, field);
}

// The project file's keys in file order: key, Missing, New, field.
constexpr std::array kProjectKeys = {
    ConstantKey<P>("ini-file-version", "5"),
    Text("name", "Project", "New Project", Member<&P::name>),
    Text("document-root", "", "", Member<&P::document_root>),
    Text("content-root", "", "", Member<&P::content_root>),
    Text("default-content-root", "", "", Member<&P::default_content_root>),
    Text("definition-file", "", "project.txt", Member<&P::definition_file>),
    Text("macro-start-tag", "[@", "[@", Member<&P::tags, &T::macro_start>),
    Text("macro-end-tag", "]", "]", Member<&P::tags, &T::macro_end>),
    Text("parameter-start-tag", "(@", "(@", Member<&P::tags, &T::parameter_start>),
    Text("parameter-end-tag", ")", ")", Member<&P::tags, &T::parameter_end>),
    Text("wildcard-tag", "*", "*", Member<&P::tags, &T::wildcard>),
    Text("parent-reference-tag", "^", "^", Member<&P::tags, &T::parent_reference>),
    Integer("parent-reference-tag-is-by-file", "0", "0", Member<&P::parent_reference_is_by_file>),
    Text("single-quote-escape-tag", "\\", "\\", Member<&P::tags, &T::single_quote_escape>),
    Text("non-blank-delete-tag", "!", "!", Member<&P::tags, &T::non_blank_delete>),
    Text("concatenate-tag", "&", "&", Member<&P::tags, &T::concatenate>),
    Text("conditional-start-tag", "{", "{", Member<&P::tags, &T::conditional_start>),
    Text("conditional-else-tag", "}{", "}{", Member<&P::tags, &T::conditional_else>),
    Text("conditional-end-tag", "}", "}", Member<&P::tags, &T::conditional_end>),
    Text("required-tag", "$", "$", Member<&P::tags, &T::required>),
    Text("line-continuation", "\\\\", "\\\\", Member<&P::tags, &T::line_continuation>),
    Integer("delete-line", "1", "1", Member<&P::delete_line>),
    Text("delete-line-exceptions", "ROOT_DIR", "ROOT_DIR", Member<&P::delete_line_exceptions>),
    Integer("optimization-status", "0", "0", Member<&P::optimization_status>),
    Integer("optimization-level", "1", "1", Member<&P::optimization_level>),
    Text("optimize-exclude-list", "", "", Member<&P::optimize_exclude_list>),
    Integer("max-nested-macros", "50", "50", Member<&P::max_nested_macros>),
    Text("reserved-date-macro", "DATE", "DATE", Member<&P::reserved_date_macro>),
    Integer("max-folders", "25", "25", Member<&P::max_folders>),
    Integer("max-globals", "5", "5", Member<&P::max_globals>),
    Integer("max-docs", "50", "50", Member<&P::max_docs>),
    Integer("max-folder-globals", "5", "5", Member<&P::max_folder_globals>),
    Integer("max-content-files", "5", "5", Member<&P::max_content_files>),
    Integer("max-global-macros", "100", "100", Member<&P::max_global_macros>),
    Integer("max-folder-global-macros", "50", "50", Member<&P::max_folder_global_macros>),
    Integer("max-content-file-macros", "50", "50", Member<&P::max_content_file_macros>),
    Integer("max-project-macros", "5", "5", Member<&P::max_project_macros>),
    Integer("max-parameters", "5", "5", Member<&P::max_parameters>),
    Text("temporary-files-path", "", "", Member<&P::temporary_files_path>),
    Text("reserved-project-name-macro", "PENTRAK_PROJECT_NAME", "PENTRAK_PROJECT_NAME",
         Member<&P::reserved_project_name_macro>),
    Text("reserved-folder-name-macro", "PENTRAK_FOLDER_NAME", "PENTRAK_FOLDER_NAME",
         Member<&P::reserved_folder_name_macro>),
    Text("reserved-document-name-macro", "PENTRAK_DOCUMENT_NAME", "PENTRAK_DOCUMENT_NAME",
         Member<&P::reserved_document_name_macro>),
    Text("project-macro-file", "", "", Member<&P::project_macro_file>),
    Integer("display-project-macro-file", "1", "1", Member<&P::display_project_macro_file>),
    Text("global-content-files", "", "", Member<&P::global_content_files>),
    Text("custom-project-path", "", "", Member<&P::custom_project_path>),
    Integer("custom-project-path-with-drive", "0", "0", Member<&P::custom_project_path_with_drive>),
    Integer("trim-parameter-values", "0", "0", Member<&P::trim_parameter_values>),
    Text("generated-files-log-file", "", "", Member<&P::generated_files_log_file>),
};
static_assert(kProjectKeys.size() == 49);

constexpr std::span<const Key> kTable(kProjectKeys);

using Q = PublishSettings;

// The publishing keys follow the first 49 lines, and only when the project publishes somewhere
// or has publishing settings left over: a project that never publishes keeps the file's first
// form, and older readers skip keys they do not know.
constexpr std::array kPublishKeys = {
    Integer("publish-method", "0", "0", Member<&P::publish, &Q::method>),
    Text("publish-folder", "", "", Member<&P::publish, &Q::folder>),
    Text("publish-host", "", "", Member<&P::publish, &Q::host>),
    Text("publish-port", "", "", Member<&P::publish, &Q::port>),
    Text("publish-user", "", "", Member<&P::publish, &Q::user>),
    Text("publish-remote-folder", "", "", Member<&P::publish, &Q::remote_folder>),
    Text("publish-key-file", "", "", Member<&P::publish, &Q::key_file>),
};

constexpr std::span<const Key> kPublishTable(kPublishKeys);

// Table order, except that delete-line is looked up just before required-tag: where a bad
// integer stops the read decides which fields keep their old values.
std::vector<const Key*> ReadOrder() {
  const Key& delete_line = FindSettingKey(kTable, "delete-line");
  std::vector<const Key*> order;
  for (const Key& key : kProjectKeys) {
    if (!IsStored(key) || &key == &delete_line) continue;
    if (key.key == "required-tag") order.push_back(&delete_line);
    order.push_back(&key);
  }
  return order;
}

}  // namespace

std::span<const SettingKey<ProjectSettings>> ProjectSettingKeys() { return kTable; }

std::span<const SettingKey<ProjectSettings>> PublishSettingKeys() { return kPublishTable; }

const SettingKey<ProjectSettings>& FindProjectSettingKey(std::string_view name) {
  for (const Key& key : kPublishKeys) {
    if (key.key == name) return key;
  }
  return FindSettingKey(kTable, name);
}

void ReadProjectSettings(const FileSystem& fs, const std::string& path, ProjectSettings& project) {
  project.project_file_path = path;
  try {
    SettingsText text = path.empty() ? SettingsText() : LoadSettingsText(fs, path);
    for (const Key* key : ReadOrder()) ReadSettingKey(text, *key, project);
    for (const Key& key : kPublishKeys) ReadSettingKey(text, key, project);
  } catch (const Error& error) {
    throw FileError(error, "Error reading Project Data file ", path);
  }
  project.macro_end_line = project.tags.macro_start + project.tags.macro_end;
}

void WriteProjectFile(const FileSystem& fs, const ProjectSettings& project) {
  try {
    std::vector<std::string> lines = MakeSettingLines(kTable, project);
    if (project.publish != PublishSettings{}) {
      std::vector<std::string> publish = MakeSettingLines(kPublishTable, project);
      lines.insert(lines.end(), publish.begin(), publish.end());
    }
    fs.WriteLines(project.project_file_path, lines);
  } catch (const Error& error) {
    throw FileError(error, "Error writing to Project Data file ", project.project_file_path);
  }
}

void SetNewProjectDefaults(ProjectSettings& project) {
  SetFreshValues(kTable, project);
  SetFreshValues(kPublishTable, project);
}

void CopyProjectSettings(const ProjectSettings& source, ProjectSettings& target) {
  target = source;
}

}  // namespace pentrak
