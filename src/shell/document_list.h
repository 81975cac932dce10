#pragma once

#include <string>
#include <vector>

namespace pentrak {

class FileSystem;
struct ProgramOptions;
struct ProjectDefinition;
struct ProjectSettings;

// One row of the main window's list of a folder's documents.
struct DocumentRow {
  int slot = 0;               // the document's slot in its folder
  std::string name;           // the file as the definition holds it, or only its name
  std::string path;           // as the definition holds it
  std::string template_path;  // as the definition holds it; "" for a static document
  // Only with attributes shown: "static", "not generated", "read-only", joined by ", "; and the
  // generated file's last-modified time as Clock::GeneralText writes it, "" when there is none.
  std::string notes;
  std::string modified;
};

// What the rows are made of: the definition and the project's roots, and the disk for the
// attributes.
struct DocumentListContext {
  const FileSystem& fs;
  const ProjectSettings& project;
  const ProgramOptions& options;
  const ProjectDefinition& definition;
};

// The rows of a folder's documents in slot order, up to the first empty slot; none for a folder
// index that names no folder. With attributes each generated file is looked at once, through a
// handle on its folder.
std::vector<DocumentRow> DocumentRows(const DocumentListContext& context, int folder_index,
                                      bool show_paths, bool show_attributes);

}  // namespace pentrak
