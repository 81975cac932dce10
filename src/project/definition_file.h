#pragma once

#include <string>
#include <string_view>

namespace pentrak {

class FileSystem;
struct ProgramOptions;
struct ProjectSettings;

// Turns a file name of the definition or of a setting into a full path against the project's
// roots (document root for documents, else the content root with the default content root as
// fallback), with the default-drive rule.
std::string ResolveProjectPath(const ProjectSettings& project, const ProgramOptions& options,
                               const FileSystem& fs, std::string_view name, bool relative,
                               bool is_document, std::string_view custom_root = "",
                               std::string_view custom_fallback_root = "",
                               bool* used_fallback = nullptr);

}  // namespace pentrak
