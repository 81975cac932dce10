// TEMPORARY, removed at integration: empty table sizing so that this branch links before the
// definition tables and macro tables are merged in.

#include "engine/macro_tables.h"
#include "project/definition.h"

namespace pentrak {

void SizeDefinitionTables(ProjectDefinition&, const ProjectSettings&) {}

void SizeMacroTables(MacroTables&, const ProjectSettings&) {}

}  // namespace pentrak
