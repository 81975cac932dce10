#include "settings/display_settings_file.h"

#include <array>

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "settings/program_options.h"
#include "settings/setting_keys.h"

namespace pentrak {

namespace {

using D = DisplaySettings;

constexpr SettingKey<D> Switch(std::string_view key, auto field) {
  return IntegerKey<D>(key, "0", "0", field);
}

// "ui.ini" in file order; a missing key, and a reset, give 0.
constexpr std::array kDisplayKeys = {
    Switch("display-paths", Member<&D::display_paths>),
    Switch("display-attributes", Member<&D::display_attributes>),
    Switch("display-macros", Member<&D::display_macros>),
    Switch("modified-only", Member<&D::modified_only>),
    Switch("skip-read-only", Member<&D::skip_read_only>),
    Switch("create-subdirectories", Member<&D::create_subdirectories>),
};

constexpr std::span<const SettingKey<D>> kTable(kDisplayKeys);

}  // namespace

std::string DisplaySettingsPath(const std::string& program_folder) {
  return JoinPath(program_folder, "ui.ini");
}

void EnsureDisplaySettingsFile(const FileSystem& fs, const std::string& program_folder,
                               DisplaySettings& display) {
  bool usable = false;
  try {
    usable = fs.ReadFirstLine(DisplaySettingsPath(program_folder)) != ".";
  } catch (const Error&) {
    usable = false;
  }
  if (usable) return;
  ResetDisplaySettings(display);
  WriteDisplaySettings(fs, program_folder, display);
}

void ReadDisplaySettings(const FileSystem& fs, const std::string& program_folder,
                         DisplaySettings& display) {
  const std::string path = DisplaySettingsPath(program_folder);
  try {
    SettingsText text = LoadSettingsText(fs, path);
    for (const SettingKey<D>& key : kDisplayKeys) ReadSettingKey(text, key, display);
  } catch (const Error& error) {
    throw FileError(error, "Error reading UI configuration file ", path);
  }
}

void WriteDisplaySettings(const FileSystem& fs, const std::string& program_folder,
                          const DisplaySettings& display) {
  try {
    fs.WriteLines(DisplaySettingsPath(program_folder), MakeSettingLines(kTable, display));
  } catch (const Error&) {
    // The switches are a convenience; failing to keep them is not worth interrupting the user.
  }
}

void ResetDisplaySettings(DisplaySettings& display) { SetFreshValues(kTable, display); }

}  // namespace pentrak
