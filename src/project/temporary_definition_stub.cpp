// TEMPORARY: stands in for the definition reader's path resolution until that branch is merged.
#include "platform/file_system.h"
#include "platform/paths.h"
#include "project/definition_file.h"
#include "settings/default_drive.h"
#include "settings/project_settings.h"

namespace pentrak {

std::string ResolveProjectPath(const ProjectSettings& project, const ProgramOptions& options,
                               const FileSystem& fs, std::string_view name, bool relative,
                               bool is_document, std::string_view custom_root,
                               std::string_view custom_fallback_root, bool* used_fallback) {
  if (used_fallback != nullptr) *used_fallback = false;
  bool resolves = relative && name.find(':') == std::string_view::npos &&
                  (name.empty() || !IsSeparator(name[0]));
  if (!resolves) return ApplyDefaultDrive(name, options);
  std::string root = !custom_root.empty() ? std::string(custom_root)
                     : is_document        ? project.document_root
                                          : project.content_root;
  std::string fallback_root = !custom_root.empty() ? std::string(custom_fallback_root)
                              : is_document        ? std::string()
                                                   : project.default_content_root;
  std::string primary = root.empty() ? "" : JoinPath(root, name);
  std::string result = ApplyDefaultDrive(primary, options);
  if (!fallback_root.empty() && !fs.FileExists(result)) {
    result = ApplyDefaultDrive(JoinPath(fallback_root, name), options);
    if (used_fallback != nullptr) *used_fallback = true;
  }
  return result;
}

}  // namespace pentrak
