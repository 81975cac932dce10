#include "settings/program_options_file.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/default_programs.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/user_interface.h"
#include "settings/program_options.h"
#include "settings/setting_keys.h"

namespace pentrak {

namespace {

using Key = SettingKey<ProgramOptions>;
using O = ProgramOptions;

constexpr Key Text(std::string_view key, std::string_view missing, std::string_view fresh,
                   auto field) {
  return TextKey<O>(key, missing, fresh, field);
}
constexpr Key Text(std::string_view key, auto field) { return Text(key, "", "", field); }
constexpr Key Integer(std::string_view key, std::string_view missing_and_fresh, auto field) {
  return IntegerKey<O>(key, missing_and_fresh, missing_and_fresh, field);
}

template <std::size_t I>
constexpr auto kApplicationCaption =
    ElementMember<&O::custom_applications, I, &CustomApplication::caption>;
template <std::size_t I>
constexpr auto kApplicationCommand =
    ElementMember<&O::custom_applications, I, &CustomApplication::command>;
template <std::size_t I>
constexpr auto kOptionCaption = ElementMember<&O::custom_options, I, &CustomOption::caption>;
template <std::size_t I>
constexpr auto kOptionCommand = ElementMember<&O::custom_options, I, &CustomOption::command>;

constexpr std::string_view kHistoryKey = "project-file";

// The program options file's keys in file order; Missing and First run are the same for every
// key but the three applications (and project-file, whose empty value means the default).
constexpr std::array kProgramKeys = {
    ConstantKey<O>("ini-file-version", "5"),
    Text("editor", "", kFirstRunPrograms.editor, Member<&O::editor>),
    Text("browser", "", kFirstRunPrograms.browser, Member<&O::browser>),
    Text("image-editor", "", kFirstRunPrograms.image_editor, Member<&O::image_editor>),
    Text("xml-editor", Member<&O::xml_editor>),
    Text("custom-application", kApplicationCommand<0>),
    Text("custom-application-caption", kApplicationCaption<0>),
    Text("custom-application2", kApplicationCommand<1>),
    Text("custom-application-caption2", kApplicationCaption<1>),
    Text("custom-application3", kApplicationCommand<2>),
    Text("custom-application-caption3", kApplicationCaption<2>),
    Text("browse-folder1", Member<&O::browse_folder>),
    Integer("enable-default-drive", "0", Member<&O::enable_default_drive>),
    Text("default-drive", Member<&O::default_drive>),
    Integer("enable-content-file-filter", "0", Member<&O::enable_content_file_filter>),
    Text("content-file-filter", Member<&O::content_file_filter>),
    Integer("enable-logging", "1", Member<&O::enable_logging>),
    Text("custom-caption1", kOptionCaption<0>),
    Text("custom-command1", kOptionCommand<0>),
    Text("custom-caption2", kOptionCaption<1>),
    Text("custom-command2", kOptionCommand<1>),
    Text("custom-caption3", kOptionCaption<2>),
    Text("custom-command3", kOptionCommand<2>),
    Text("custom-caption4", kOptionCaption<3>),
    Text("custom-command4", kOptionCommand<3>),
    Text("custom-caption5", kOptionCaption<4>),
    Text("custom-command5", kOptionCommand<4>),
    Text("custom-caption6", kOptionCaption<5>),
    Text("custom-command6", kOptionCommand<5>),
    Integer("documents-default-action", "0", Member<&O::documents_default_action>),
    Integer("maximum-projects", "25", Member<&O::maximum_projects>),
    Text(kHistoryKey, Member<&O::project_history_file>),
    Integer("fast-file-system", "1", Member<&O::fast_file_system>),
    Integer("post-generate-refresh", "1", Member<&O::post_generate_refresh>),
    Integer("display-all-macros", "1", Member<&O::display_all_macros>),
    Integer("show-macro-tags", "0", Member<&O::show_macro_tags>),
    Integer("resizable-border", "0", Member<&O::resizable_border>),
    Text("editor-options", Member<&O::editor_options>),
    Integer("sort-folders", "0", Member<&O::sort_folders>),
    Integer("large-display", "0", Member<&O::large_display>),
    Integer("editor-options-add-space", "1", Member<&O::editor_options_add_space>),
    Integer("ignore-generation-errors", "0", Member<&O::ignore_generation_errors>),
    Integer("ignore-missing-file-errors", "0", Member<&O::ignore_missing_file_errors>),
    // The link check's keys follow the described ones.
    Integer("check-external-links", "0", Member<&O::check_external_links>),
    Integer("link-cache-hours", "24", Member<&O::link_cache_hours>),
};
static_assert(kProgramKeys.size() == 45);

constexpr std::span<const Key> kTable(kProgramKeys);

// The keys read before the others, in this order; the rest follow in file order. Where a bad
// integer stops the read decides which options keep their old values.
constexpr std::array<std::string_view, 31> kReadFirst = {
    "browser",
    "editor",
    "image-editor",
    "xml-editor",
    "custom-application-caption",
    "custom-application",
    "custom-application-caption2",
    "custom-application2",
    "custom-application-caption3",
    "custom-application3",
    "browse-folder1",
    "enable-logging",
    "enable-default-drive",
    "default-drive",
    "enable-content-file-filter",
    "content-file-filter",
    "custom-caption1",
    "custom-command1",
    "custom-caption2",
    "custom-command2",
    "custom-caption3",
    "custom-command3",
    "custom-caption4",
    "custom-command4",
    "custom-caption5",
    "custom-command5",
    "custom-caption6",
    "custom-command6",
    "documents-default-action",
    "maximum-projects",
    kHistoryKey,
};

std::vector<const Key*> ReadOrder() {
  std::vector<const Key*> order;
  order.reserve(kProgramKeys.size());
  for (std::string_view name : kReadFirst) order.push_back(&FindSettingKey(kTable, name));
  for (const Key& key : kProgramKeys) {
    bool read_first = std::ranges::find(kReadFirst, key.key) != kReadFirst.end();
    if (IsStored(key) && !read_first) order.push_back(&key);
  }
  return order;
}

std::string DefaultHistoryPath(const std::string& program_folder) {
  return JoinPath(program_folder, "projects.ini");
}

std::string OptionsPath(const std::string& program_folder, const std::string& path) {
  return path.empty() ? DefaultProgramOptionsPath(program_folder) : path;
}

bool IsKnownVersion(const std::string& first_line) {
  SettingsText line = first_line;
  line.append("\r\n");
  std::string version = GetSettingValue(line, "ini-file-version", "");
  if (version.empty()) version = GetSettingValue(line, "version", "");
  return version == "5" || version == "5.0";
}

// Fills the options with the first-run values and writes them to the default file; a write
// failure is reported and gives false.
bool CreateDefaultOptionsFile(UserInterface& ui, const FileSystem& fs,
                              const std::string& program_folder, ProgramOptions& options) {
  SetProgramOptionDefaults(options, program_folder);
  try {
    WriteProgramOptions(fs, program_folder, "", options);
  } catch (const Error& error) {
    ReportError(ui, error);
    return false;
  }
  return true;
}

}  // namespace

std::span<const SettingKey<ProgramOptions>> ProgramOptionKeys() { return kTable; }

std::string DefaultProgramOptionsPath(const std::string& program_folder) {
  return JoinPath(program_folder, "pentrak.ini");
}

void SetProgramOptionDefaults(ProgramOptions& options, const std::string& program_folder) {
  SetFreshValues(kTable, options);
  options.project_history_file = DefaultHistoryPath(program_folder);
}

bool CheckProgramOptionsFile(UserInterface& ui, const FileSystem& fs,
                             const std::string& program_folder, const std::string& path,
                             bool importing, ProgramOptions& options) {
  const std::string file = OptionsPath(program_folder, path);
  std::string first_line;
  try {
    first_line = fs.ReadFirstLine(file);
  } catch (const Error&) {
    if (importing) {
      ui.ShowMessage(
          "File Open Error",
          "Error opening Program Options file at " + file + ". Check the path and try again.",
          Icon::kNone, Buttons::kOk);
      return false;
    }
    Answer answer = ui.ShowMessage(
        "Create Default Initialization File",
        "This appears to be the first time that you are running Pentrak. A default program "
        "initialization file will be created at " +
            file +
            ". Press OK to create the initialization file or press Cancel to exit the program.",
        Icon::kQuestion, Buttons::kOkCancel);
    if (answer != Answer::kOk) return false;
    return CreateDefaultOptionsFile(ui, fs, program_folder, options);
  }

  if (IsKnownVersion(first_line)) return true;
  if (importing) {
    ui.ShowMessage("File Error",
                   "Pentrak does not recognize the Program Options file at " + file + ".\r" +
                       "Check the path and try again.",
                   Icon::kNone, Buttons::kOk);
    return false;
  }
  // A file holding only "." is how a user asks for the defaults back.
  if (first_line == ".") return CreateDefaultOptionsFile(ui, fs, program_folder, options);
  ui.ShowMessage("Initialization File Version Mismatch",
                 "Pentrak does not recognize your initialization file. To correct this error, "
                 "rename " +
                     DefaultProgramOptionsPath(program_folder) +
                     " and restart the program. This will reset all program configuration "
                     "variables to default values.",
                 Icon::kNone, Buttons::kOk);
  return false;
}

void ReadProgramOptions(const FileSystem& fs, const std::string& program_folder,
                        const std::string& path, ProgramOptions& options) {
  const std::string file = OptionsPath(program_folder, path);
  try {
    SettingsText text = LoadSettingsText(fs, file);
    for (const Key* key : ReadOrder()) {
      ReadSettingKey(text, *key, options);
      if (key->key == kHistoryKey && options.project_history_file.empty()) {
        options.project_history_file = DefaultHistoryPath(program_folder);
      }
    }
  } catch (const Error& error) {
    throw FileError(error, "Error reading Program Data file ", file);
  }
}

void WriteProgramOptions(const FileSystem& fs, const std::string& program_folder,
                         const std::string& path, const ProgramOptions& options) {
  const std::string file = OptionsPath(program_folder, path);
  try {
    fs.WriteLines(file, MakeSettingLines(kTable, options));
  } catch (const Error& error) {
    throw FileError(error, "Error writing to Program Data file ", file);
  }
}

}  // namespace pentrak
