#pragma once

#include <string>

namespace pentrak {

class FileSystem;
struct LogContext;
struct MacroTable;
struct MacroTables;
struct ProjectSettings;

// Scope codes of the macro tables.
inline constexpr short kContentFileScope = 1;
inline constexpr short kFolderGlobalScope = 2;
inline constexpr short kGlobalScope = 3;
inline constexpr short kProjectMacroScope = 4;

// Results of LoadContentFile.
inline constexpr short kLoadOk = 1;
inline constexpr short kLoadWarnings = 2;
inline constexpr short kLoadMissingFile = 3;

// What loading a content file reads and writes besides its table.
struct ContentLoadContext {
  const ProjectSettings& project;
  const FileSystem& fs;
  const LogContext& log;
  MacroTables& macros;
};

// Loads one content file into table table_index of scope (table_index is ignored for the
// project macro scope). Returns kLoadOk, kLoadWarnings or kLoadMissingFile; throws Error 10005
// for a file that cannot be opened (unless continue_if_missing and it does not exist) and
// 10002 when the scope's macro limit is exceeded.
short LoadContentFile(const ContentLoadContext& context, short scope, const std::string& path,
                      int table_index, bool log_warnings, bool continue_if_missing);

// The same into a table of the caller's choosing (the display tables); scope still selects the
// macro limit.
short LoadContentFile(const ContentLoadContext& context, short scope, const std::string& path,
                      MacroTable& table, bool log_warnings, bool continue_if_missing);

// The macro limit of a scope: how many definitions one of its files may hold.
int ScopeMacroLimit(const ProjectSettings& project, short scope);

// How many tables a scope has (1 for the project macro scope, 0 for an unknown code), and one of
// them; index must be below the count (it is ignored for the project macro scope).
int ScopeTableCount(const MacroTables& macros, short scope);
const MacroTable& ScopeTable(const MacroTables& macros, short scope, int index);
MacroTable& ScopeTable(MacroTables& macros, short scope, int index);

// The table a content file of scope is loaded into, added when the scope has fewer tables; an
// index at or beyond the scope's table limit throws std::out_of_range.
MacroTable& ScopeTableForLoading(const ProjectSettings& project, MacroTables& macros, short scope,
                                 int index);

// Empties the chosen tables and resets the matching loaded counts.
struct ClearSwitches {
  bool content_files = false;
  bool folder_globals = false;
  bool globals = false;
  bool project_macros = false;
  bool display_table = false;
  bool display_table2 = false;
};
void ClearMacroTables(MacroTables& macros, const ClearSwitches& which);

}  // namespace pentrak
