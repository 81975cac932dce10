#include <algorithm>
#include <cstddef>

#include "platform/growing_table.h"
#include "project/definition.h"
#include "settings/project_settings.h"

namespace pentrak {

int FieldSlots(const ProjectSettings& project) {
  // Counted with the limits as allowed (below 1 is 0), so a document line always has room for
  // its path, its template and the end mark, and its limit errors are still reached.
  std::size_t most =
      std::max({AllowedSlots(project.max_content_files) + 2, AllowedSlots(project.max_globals),
                AllowedSlots(project.max_folder_globals)});
  return static_cast<int>(most + 1);
}

void SizeDefinitionTables(ProjectDefinition& definition) {
  // Fresh vectors rather than clear: a large earlier project gives its memory back.
  definition.global_content_files = {};
  definition.folders = {};
  definition.field_buffer = {};
  definition.document_count = 0;
}

void ClearDefinition(ProjectDefinition& definition) {
  definition.global_content_files.clear();
  definition.folders.clear();
}

}  // namespace pentrak
