#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace pentrak {

struct SearchPosition;

// A declared parameter of a macro: reference "(@name)" and its default text.
struct MacroParameter {
  std::string reference;
  std::string default_value;
};

// One macro definition; an empty name marks a free slot.
struct Macro {
  std::string name;   // with start and end tags, e.g. "[@TITLE]"
  std::string value;  // lines joined by CR LF
  // The declared pairs, up to max-parameters; the first empty reference ends them.
  std::vector<MacroParameter> parameters;
  int line_number = 0;
};

// The macros of one loaded content file; an empty file name marks a table not in use.
struct MacroTable {
  std::string file_name;
  // Grows as definitions are read, up to the scope's macro limit; emptied slots keep their
  // storage for the next file loaded into the table.
  std::vector<Macro> slots;
  // The slots filled since the table was last emptied, from the first: emptying it clears only
  // these, not every slot the project's limits allow.
  std::size_t used = 0;
};

// One (parameter reference, value) pair of the last definition line or macro tag.
struct CallParameter {
  std::string reference;
  std::string value;
};

// Scratch text reused by every expanded line, so that a line costs no fresh allocations once
// the buffers have grown to the size of the longest value.
struct ExpansionBuffers {
  std::string tag;           // the tag being expanded, rewritten as its modifiers are removed
  std::string value;         // the value found for it
  std::string work;          // the other half of a replace-and-swap
  std::string find_text;     // a composed text to replace (an escaped or a parent reference)
  std::string replace_text;  // what replaces it
  std::string name_rest;     // a wildcard match's name after the prefix
  // When set (only while the links of a document are traced), the expansion of a tag lists here
  // where it found its values: one place, or one per line of a wildcard tag.
  std::vector<SearchPosition>* found = nullptr;
};

// The macro tables of the four scopes, the loaded counts, the two display tables and the
// call-parameter list. Every table is allocated as it fills, never at the size its limit allows.
struct MacroTables {
  std::vector<MacroTable> content_files;   // scope 1: up to max-content-files tables
  std::vector<MacroTable> folder_globals;  // scope 2: up to max-folder-globals tables
  std::vector<MacroTable> globals;         // scope 3: up to max-globals tables
  MacroTable project_macros;               // scope 4
  short content_files_loaded = 0;          // files read or tried for the current document
  short folder_globals_loaded = 0;
  short globals_loaded = 0;
  bool project_macro_file_loaded = false;
  MacroTable display_table;   // the main window's macro list
  MacroTable display_table2;  // the macros viewer
  // Up to max-parameters pairs; only the first call_parameter_count are those of the last list,
  // the rest are empty pairs kept for their storage.
  std::vector<CallParameter> call_parameters;
  std::size_t call_parameter_count = 0;
  ExpansionBuffers buffers;
};

// Empties every macro table and the call-parameter list and gives back their memory, for a newly
// read project: they then grow as they fill, each up to its limit.
void SizeMacroTables(MacroTables& macros);

}  // namespace pentrak
