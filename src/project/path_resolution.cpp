#include "project/path_resolution.h"

#include "platform/file_system.h"
#include "platform/paths.h"
#include "settings/default_drive.h"
#include "settings/program_options.h"
#include "settings/project_settings.h"

namespace pentrak {

namespace {

// A name that already says where it lives: rooted, or carrying a drive.
bool IsAnchored(std::string_view name) {
  return name.find(':') != std::string_view::npos || (!name.empty() && IsSeparator(name[0]));
}

// root + separator + name; nothing when there is no root to join to.
std::string UnderRoot(std::string_view root, std::string_view name) {
  if (root.empty()) return "";
  return JoinPath(root, name);
}

}  // namespace

std::string ResolveProjectPath(const PathContext& context, std::string_view name, bool relative,
                               bool is_document, std::string_view custom_root,
                               std::string_view custom_fallback_root, bool* used_fallback) {
  if (used_fallback != nullptr) *used_fallback = false;
  std::string primary;
  std::string fallback;
  if (relative && !IsAnchored(name)) {
    const ProjectSettings& project = context.project;
    std::string_view root = project.content_root;
    std::string_view fallback_root = project.default_content_root;
    if (!custom_root.empty()) {
      root = custom_root;
      fallback_root = custom_fallback_root;
    } else if (is_document) {
      root = project.document_root;
      fallback_root = {};
    }
    primary = UnderRoot(root, name);
    fallback = UnderRoot(fallback_root, name);
  } else {
    primary = name;
  }

  std::string result = ApplyDefaultDrive(primary, context.options);
  if (!fallback.empty() && !context.fs.FileExists(result)) {
    result = ApplyDefaultDrive(fallback, context.options);
    if (used_fallback != nullptr) *used_fallback = true;
  }
  // A resolved path is shown in logs, status lines and the document-name macro: give it the
  // platform's own separators so a project written with "\" reads naturally on POSIX too.
  return relative ? NativePath(result) : result;
}

}  // namespace pentrak
