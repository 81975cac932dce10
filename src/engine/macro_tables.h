#pragma once

namespace pentrak {

struct ProjectSettings;

// The macro tables of the four scopes, the loaded counts, the project-macro-file-loaded flag,
// the two display tables and the call-parameter list.
struct MacroTables {};

// Sizes every macro table from the project's limits, all slots empty.
void SizeMacroTables(MacroTables& macros, const ProjectSettings& project);

}  // namespace pentrak
