#pragma once

#include <span>
#include <string>
#include <string_view>

#include "settings/setting_keys.h"

namespace pentrak {

class FileSystem;
struct ProjectSettings;

// The keys of a project file in file order, each with where its value lives in the record.
std::span<const SettingKey<ProjectSettings>> ProjectSettingKeys();

// The publishing keys, written after those of ProjectSettingKeys when any of them is set.
std::span<const SettingKey<ProjectSettings>> PublishSettingKeys();

// The row of a key of either table; the key must be in one of them.
const SettingKey<ProjectSettings>& FindProjectSettingKey(std::string_view name);

// Fills the record from a project file; an empty path gives every key its Missing value. The
// path is stored first; on failure the keys before the bad one hold their new values, the rest
// keep their old ones, and Error "Error reading Project Data file " + path + ". ..." is thrown.
void ReadProjectSettings(const FileSystem& fs, const std::string& path, ProjectSettings& project);

// Writes the record to its project file path, replacing the file; throws
// "Error writing to Project Data file " + path + ". ...".
void WriteProjectFile(const FileSystem& fs, const ProjectSettings& project);

// The settings of a new project; the project file path is left as it is.
void SetNewProjectDefaults(ProjectSettings& project);

// Copies every field, the project file path included.
void CopyProjectSettings(const ProjectSettings& source, ProjectSettings& target);

}  // namespace pentrak
