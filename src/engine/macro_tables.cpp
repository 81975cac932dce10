#include "engine/macro_tables.h"

#include <algorithm>
#include <stdexcept>

#include "engine/content_file.h"
#include "settings/project_settings.h"

namespace pentrak {

namespace {

std::size_t SlotCount(short limit) { return static_cast<std::size_t>(std::max<short>(limit, 0)); }

MacroTable MakeTable(short macro_limit, short parameter_limit) {
  MacroTable table;
  table.slots.resize(SlotCount(macro_limit));
  for (Macro& slot : table.slots) slot.parameters.resize(SlotCount(parameter_limit));
  return table;
}

std::vector<MacroTable> MakeTables(short table_limit, short macro_limit, short parameter_limit) {
  return std::vector<MacroTable>(SlotCount(table_limit), MakeTable(macro_limit, parameter_limit));
}

// Empties a table but keeps every string's storage, so reloading costs no allocations.
void ClearTable(MacroTable& table) {
  table.file_name.clear();
  const std::size_t used = std::min(table.used, table.slots.size());
  table.used = 0;
  for (std::size_t i = 0; i < used; ++i) {
    Macro& slot = table.slots[i];
    slot.name.clear();
    slot.value.clear();
    slot.line_number = 0;
    for (MacroParameter& parameter : slot.parameters) {
      parameter.reference.clear();
      parameter.default_value.clear();
    }
  }
}

void ClearTables(std::vector<MacroTable>& tables) {
  for (MacroTable& table : tables) ClearTable(table);
}

}  // namespace

void SizeMacroTables(MacroTables& macros, const ProjectSettings& project) {
  const short parameters = project.max_parameters;
  macros.content_files =
      MakeTables(project.max_content_files, project.max_content_file_macros, parameters);
  macros.folder_globals =
      MakeTables(project.max_folder_globals, project.max_folder_global_macros, parameters);
  macros.globals = MakeTables(project.max_globals, project.max_global_macros, parameters);
  macros.project_macros = MakeTable(project.max_project_macros, parameters);
  const short largest = std::max({project.max_content_file_macros, project.max_folder_global_macros,
                                  project.max_global_macros, project.max_project_macros});
  macros.display_table = MakeTable(largest, parameters);
  macros.display_table2 = MakeTable(largest, parameters);
  macros.content_files_loaded = 0;
  macros.folder_globals_loaded = 0;
  macros.globals_loaded = 0;
  macros.project_macro_file_loaded = false;
  macros.call_parameters.assign(SlotCount(parameters), CallParameter{});
  macros.call_parameters_empty = true;
}

void ClearMacroTables(MacroTables& macros, const ClearSwitches& which) {
  if (which.content_files) {
    ClearTables(macros.content_files);
    macros.content_files_loaded = 0;
  }
  if (which.folder_globals) {
    ClearTables(macros.folder_globals);
    macros.folder_globals_loaded = 0;
  }
  if (which.globals) {
    ClearTables(macros.globals);
    macros.globals_loaded = 0;
  }
  if (which.project_macros) {
    ClearTable(macros.project_macros);
    macros.project_macro_file_loaded = false;
  }
  if (which.display_table) ClearTable(macros.display_table);
  if (which.display_table2) ClearTable(macros.display_table2);
}

int ScopeMacroLimit(const ProjectSettings& project, short scope) {
  switch (scope) {
    case kContentFileScope:
      return project.max_content_file_macros;
    case kFolderGlobalScope:
      return project.max_folder_global_macros;
    case kGlobalScope:
      return project.max_global_macros;
    case kProjectMacroScope:
      return project.max_project_macros;
    default:
      return 0;
  }
}

int ScopeTableCount(const MacroTables& macros, short scope) {
  switch (scope) {
    case kContentFileScope:
      return static_cast<int>(macros.content_files.size());
    case kFolderGlobalScope:
      return static_cast<int>(macros.folder_globals.size());
    case kGlobalScope:
      return static_cast<int>(macros.globals.size());
    case kProjectMacroScope:
      return 1;
    default:
      return 0;
  }
}

const MacroTable& ScopeTable(const MacroTables& macros, short scope, int index) {
  const auto at = static_cast<std::size_t>(index);
  switch (scope) {
    case kContentFileScope:
      return macros.content_files.at(at);
    case kFolderGlobalScope:
      return macros.folder_globals.at(at);
    case kGlobalScope:
      return macros.globals.at(at);
    case kProjectMacroScope:
      return macros.project_macros;
    default:
      throw std::out_of_range("unknown macro scope");
  }
}

MacroTable& ScopeTable(MacroTables& macros, short scope, int index) {
  return const_cast<MacroTable&>(ScopeTable(static_cast<const MacroTables&>(macros), scope, index));
}

}  // namespace pentrak
