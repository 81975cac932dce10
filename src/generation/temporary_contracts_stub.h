#pragma once
// TEMPORARY: declarations other branches own, until they land. Remove on merge.

#include <string>
#include <string_view>
#include <vector>

namespace pentrak {

class FileSystem;
class UserInterface;
struct MacroTables;
struct ProgramOptions;
struct ProjectDefinition;
struct ProjectSettings;

struct DefinitionContext {
  const FileSystem& fs;
  UserInterface& ui;
  const ProjectSettings& project;
  const ProgramOptions& options;
  ProjectDefinition& definition;
};
void ReadDefinition(const DefinitionContext& context, bool resolve_paths, bool report_errors);

struct PathContext {
  const FileSystem& fs;
  const ProjectSettings& project;
  const ProgramOptions& options;
};
std::string ResolveProjectPath(const PathContext& context, std::string_view name, bool relative,
                               bool is_document, std::string_view custom_root = {},
                               std::string_view custom_fallback_root = {},
                               bool* used_fallback = nullptr);

std::vector<int> FolderDisplayOrder(const ProjectDefinition& definition, bool sorted);

void ClearCallParameters(MacroTables& macros);

}  // namespace pentrak
