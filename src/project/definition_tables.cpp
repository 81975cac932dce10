#include <algorithm>
#include <cstddef>

#include "project/definition.h"
#include "settings/project_settings.h"

namespace pentrak {

namespace {

// A limit below 1 gives a table of 0 slots. The project properties accept any integer, so such
// a limit must not crash the sizing; the definition reader then raises the limit's error at the
// first entry of that kind instead of writing past the table.
std::size_t Slots(short limit) { return limit > 0 ? static_cast<std::size_t>(limit) : 0; }

// Empties a string and gives back what a long name held, so an emptied slot costs what an empty
// string costs.
void EmptySlot(std::string& slot) { std::string().swap(slot); }

void EmptySlots(std::vector<std::string>& slots) {
  for (std::string& slot : slots) EmptySlot(slot);
}

}  // namespace

int FieldSlots(const ProjectSettings& project) {
  // Counted with the limits as sized (below 1 is 0), so a document line always has room for its
  // path, its template and the end mark, and its limit errors are still reached.
  std::size_t most = std::max({Slots(project.max_content_files) + 2, Slots(project.max_globals),
                               Slots(project.max_folder_globals)});
  return static_cast<int>(most + 1);
}

void SizeDefinitionTables(ProjectDefinition& definition, const ProjectSettings& project) {
  Document document;
  document.content_files = std::vector<std::string>(Slots(project.max_content_files));
  Folder folder;
  folder.content_files = std::vector<std::string>(Slots(project.max_folder_globals));
  folder.documents = std::vector<Document>(Slots(project.max_docs), document);

  // Fresh vectors rather than resize: a project with smaller limits gives the memory back.
  definition.global_content_files = std::vector<std::string>(Slots(project.max_globals));
  definition.folders = std::vector<Folder>(Slots(project.max_folders), folder);
  definition.field_buffer = std::vector<std::string>(static_cast<std::size_t>(FieldSlots(project)));
  definition.document_count = 0;
}

void ClearDefinition(ProjectDefinition& definition) {
  EmptySlots(definition.global_content_files);
  for (Folder& folder : definition.folders) {
    EmptySlot(folder.name);
    EmptySlots(folder.content_files);
    for (Document& document : folder.documents) {
      EmptySlot(document.path);
      EmptySlot(document.written_path);
      EmptySlot(document.template_path);
      EmptySlots(document.content_files);
      document.no_folder_globals = 0;
      document.no_project_globals = 0;
      document.optimization_flag = 0;
    }
  }
}

}  // namespace pentrak
