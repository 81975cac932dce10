// TEMPORARY, removed at integration: empty macro-table sizing so that this branch links before the
// macro tables are merged in.

#include "engine/macro_tables.h"

namespace pentrak {

void SizeMacroTables(MacroTables&, const ProjectSettings&) {}

}  // namespace pentrak
