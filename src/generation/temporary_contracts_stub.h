#pragma once
// TEMPORARY: a declaration the engine branch owns, until it lands. Remove on merge.

namespace pentrak {

struct MacroTables;

void ClearCallParameters(MacroTables& macros);

}  // namespace pentrak
