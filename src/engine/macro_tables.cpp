#include "engine/macro_tables.h"

#include <algorithm>
#include <stdexcept>

#include "engine/content_file.h"
#include "platform/growing_table.h"
#include "settings/project_settings.h"

namespace pentrak {

namespace {

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

// A scope's table at index, added with those before it when the scope has fewer. The loops that
// load tables stop at the limit; an index beyond it is a fault of the caller.
MacroTable& GrownTable(std::vector<MacroTable>& tables, int index, short limit) {
  const auto at = static_cast<std::size_t>(index);
  if (index < 0 || at >= AllowedSlots(limit)) throw std::out_of_range("macro table beyond limit");
  return SlotAt(tables, at);
}

}  // namespace

void SizeMacroTables(MacroTables& macros) { macros = MacroTables{}; }

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

MacroTable& ScopeTableForLoading(const ProjectSettings& project, MacroTables& macros, short scope,
                                 int index) {
  switch (scope) {
    case kContentFileScope:
      return GrownTable(macros.content_files, index, project.max_content_files);
    case kFolderGlobalScope:
      return GrownTable(macros.folder_globals, index, project.max_folder_globals);
    case kGlobalScope:
      return GrownTable(macros.globals, index, project.max_globals);
    case kProjectMacroScope:
      return macros.project_macros;
    default:
      throw std::out_of_range("unknown macro scope");
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
