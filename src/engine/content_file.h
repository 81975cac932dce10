#pragma once

#include <string>

namespace pentrak {

class FileSystem;
struct LogContext;
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
