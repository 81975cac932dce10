// TEMPORARY: crude stand-ins for functions other branches own, so this branch links and its
// tests can run before they land. Remove on merge.
#include <algorithm>

#include "engine/content_file.h"
#include "engine/expansion.h"
#include "engine/macro_tables.h"
#include "generation/temporary_contracts_stub.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text_lines.h"
#include "project/definition.h"
#include "settings/program_options.h"
#include "settings/project_settings.h"
#include "settings/work_files.h"

namespace pentrak {

void SizeMacroTables(MacroTables& macros, const ProjectSettings& project) {
  macros.content_files.assign(project.max_content_files, {});
  macros.folder_globals.assign(project.max_folder_globals, {});
  macros.globals.assign(project.max_globals, {});
}

void ClearMacroTables(MacroTables& macros, const ClearSwitches& which) {
  if (which.content_files) {
    for (auto& t : macros.content_files) t = {};
    macros.content_files_loaded = 0;
  }
  if (which.folder_globals) {
    for (auto& t : macros.folder_globals) t = {};
    macros.folder_globals_loaded = 0;
  }
  if (which.globals) {
    for (auto& t : macros.globals) t = {};
    macros.globals_loaded = 0;
  }
  if (which.project_macros) {
    macros.project_macros = {};
    macros.project_macro_file_loaded = false;
  }
}

void ClearCallParameters(MacroTables& macros) { macros.call_parameters.clear(); }

short LoadContentFile(const ContentLoadContext& context, short scope, const std::string& path,
                      int table_index, bool, bool) {
  if (path.empty()) return kLoadOk;
  if (!context.fs.FileExists(path)) return kLoadMissingFile;
  MacroTable* table = scope == kProjectMacroScope   ? &context.macros.project_macros
                      : scope == kGlobalScope       ? &context.macros.globals[table_index]
                      : scope == kFolderGlobalScope ? &context.macros.folder_globals[table_index]
                                                    : &context.macros.content_files[table_index];
  table->file_name = path;
  std::vector<std::string> lines = context.fs.ReadLines(path);
  for (std::size_t i = 0; i + 1 < lines.size(); i += 3) {
    Macro m;
    m.name = lines[i].substr(0, lines[i].size() - 1);
    m.value = lines[i + 1];
    table->slots.push_back(m);
  }
  return kLoadOk;
}

void ExpandMacroTag(const ExpansionContext& context, std::string_view line, std::string& result,
                    int, int, short& state, std::string& warning) {
  const std::string& start = context.project.tags.macro_start;
  std::size_t a = line.find(start);
  std::size_t b = line.find(context.project.tags.macro_end, a + start.size());
  if (b == std::string_view::npos) throw Error(kErrorInvalidMacroTag, "Invalid tag in string: ");
  std::string tag(line.substr(a, b + 1 - a));
  std::string value;
  auto find = [&](const MacroTable& t) {
    for (const Macro& m : t.slots)
      if (m.name == tag && value.empty()) value = m.value;
  };
  find(context.macros.project_macros);
  for (auto& t : context.macros.content_files) find(t);
  for (auto& t : context.macros.folder_globals) find(t);
  for (auto& t : context.macros.globals) find(t);
  if (tag == "[@{X]") {
    state = value.empty() ? 2 : 1;
    return;
  }
  if (tag == "[@}]") {
    state = 0;
    return;
  }
  if (tag == "[@!W]") warning = "WARNING: The required Macro [@!W] does not have a value.";
  result = std::string(line.substr(0, a)) + value + std::string(line.substr(b + 1));
}

}  // namespace pentrak
