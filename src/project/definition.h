#pragma once

#include <string>
#include <vector>

namespace pentrak {

// One document line of the definition file. An empty path marks a free slot.
struct Document {
  std::string path;
  std::string template_path;               // empty: a static document
  std::vector<std::string> content_files;  // max-content-files slots
  short no_folder_globals = 0;             // line ends with "!!"
  short no_project_globals = 0;            // line ends with "!!!"
  short optimization_flag = 0;             // -1 none, 0 "-ox", 1 "-o1", 2 "-o2"
  std::string written_path;                // the first field as written, without the flag
};

// One folder of the definition file. An empty name marks a free slot.
struct Folder {
  std::string name;
  int header_line = 0;                     // 1-based physical line of the header
  std::vector<std::string> content_files;  // max-folder-globals slots
  std::vector<Document> documents;         // max-docs slots
  short no_project_macro_file = 0;         // header ends with "*"
};

// The parsed definition file in fixed tables sized from the project's limits; tables are
// filled from slot 0 without gaps and readers stop at the first empty slot.
struct ProjectDefinition {
  std::vector<std::string> global_content_files;  // max-globals slots
  std::vector<Folder> folders;                    // max-folders slots
  int document_count = 0;
  std::vector<std::string> field_buffer;  // FieldSlots slots: the reader's scratch space
};

}  // namespace pentrak

namespace pentrak {

struct ProjectSettings;

// The most fields a definition line can carry, plus one for the end marker.
int FieldSlots(const ProjectSettings& project);

// (Re)creates every table at the full size of the project's limits, all slots empty.
void SizeDefinitionTables(ProjectDefinition& definition, const ProjectSettings& project);

// Empties every slot of every table.
void ClearDefinition(ProjectDefinition& definition);

}  // namespace pentrak
