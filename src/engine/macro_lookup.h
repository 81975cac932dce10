#pragma once

#include <string>
#include <string_view>

namespace pentrak {

struct MacroTables;
struct ProjectSettings;

// A place in the chain of macro tables: scope code (0 = nothing to search), table and slot.
struct SearchPosition {
  short scope = 0;
  int table = 0;
  int slot = 0;
};

// The document's and its folder's switches that take scopes out of the chain.
struct ScopeSwitches {
  bool no_project_globals = false;     // skip the project's global content files
  bool no_folder_globals = false;      // skip the folder's content files
  bool no_project_macro_file = false;  // skip the project macro file
};

// Where the search for a tag with this parent level (-1 = none) starts, by file or by scope as
// the project says.
SearchPosition ResolveParentLevel(const ProjectSettings& project, const MacroTables& macros,
                                  int level);

// Searches the chain (project macro file, document, folder and global content files) from
// position for the slot named tag (exact) or containing it (wildcard mode). On a match returns
// true with position set to it and value holding the slot's value, its parameters substituted
// (exact mode) and its parent references pointing past the file it came from; in wildcard mode
// name_rest receives the matched name after the prefix. A matching slot with an empty value
// still ends the search. value and name_rest must not be macros' work or find/replace buffers.
bool FindMacro(const ProjectSettings& project, MacroTables& macros, SearchPosition& position,
               std::string_view tag, const ScopeSwitches& switches, bool wildcard_mode,
               std::string& value, std::string& name_rest);

}  // namespace pentrak
