#pragma once

#include <string>
#include <string_view>

namespace pentrak {

class FileSystem;
struct ProgramOptions;
struct ProjectSettings;

// What resolving a project path reads: the project's roots, the default drive, and the disk
// (to decide whether the fallback root is needed).
struct PathContext {
  const FileSystem& fs;
  const ProjectSettings& project;
  const ProgramOptions& options;
};

// Turns a file name of the definition file or of a project setting into a full path.
//
// When relative is true and the name is neither rooted (it begins with "\" or "/") nor holds a
// drive (":"), it is joined to a root: custom_root (with custom_fallback_root) when custom_root
// is not empty, else the document root for a document, else the content root (with the default
// content root as fallback). An empty root gives an empty path. The default drive is put in front
// of the result; when the result names no existing file and there is a fallback root, the name is
// taken from the fallback root instead and used_fallback (when given) is set.
std::string ResolveProjectPath(const PathContext& context, std::string_view name, bool relative,
                               bool is_document, std::string_view custom_root = {},
                               std::string_view custom_fallback_root = {},
                               bool* used_fallback = nullptr);

}  // namespace pentrak
