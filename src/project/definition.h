#pragma once

#include <string>
#include <vector>

namespace pentrak {

// One document line of the definition file. An empty path marks a free slot.
struct Document {
  std::string path;
  std::string template_path;               // empty: a static document
  std::vector<std::string> content_files;  // grows up to max-content-files
  short no_folder_globals = 0;             // line ends with "!!"
  short no_project_globals = 0;            // line ends with "!!!"
  short optimization_flag = 0;             // -1 none, 0 "-ox", 1 "-o1", 2 "-o2"
  std::string written_path;                // the first field as written, without the flag
};

// One folder of the definition file. An empty name marks a free slot.
struct Folder {
  std::string name;
  int header_line = 0;                     // 1-based physical line of the header
  std::vector<std::string> content_files;  // grows up to max-folder-globals
  std::vector<Document> documents;         // grows up to max-docs
  short no_project_macro_file = 0;         // header ends with "*"
};

// The parsed definition file. Tables are filled from slot 0 without gaps and readers stop at
// the first empty slot or at the table's end. A table holds only the slots a read has reached,
// so a project whose limits are all 32767 costs what its definition holds; exceeding a limit is
// the reader's error.
struct ProjectDefinition {
  std::vector<std::string> global_content_files;  // grows up to max-globals
  std::vector<Folder> folders;                    // grows up to max-folders
  int document_count = 0;
  std::vector<std::string> field_buffer;  // the reader's scratch space, up to FieldSlots
};

}  // namespace pentrak

namespace pentrak {

struct ProjectSettings;

// The most fields a definition line can carry, plus one for the end marker.
int FieldSlots(const ProjectSettings& project);

// Empties every table and gives back its memory, for a newly read project: the tables then grow
// as the definition reader fills them, each up to its limit.
void SizeDefinitionTables(ProjectDefinition& definition);

// Empties every table, so that nothing of an earlier read is left.
void ClearDefinition(ProjectDefinition& definition);

}  // namespace pentrak
