#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pentrak {

struct ProjectDefinition;
struct ProjectSettings;

// The indexes of the defined folders (up to the first free slot) in the order the folder list
// shows them: definition order, or by name (byte order; equal names keep definition order) when
// sorted.
std::vector<int> FolderDisplayOrder(const ProjectDefinition& definition, bool sorted);

// Where in the definition a file that a document reads is named.
enum class SourceKind { kProjectMacroFile, kGlobal, kFolder, kDocument, kTemplate };

// One file a document's generation reads: a view of its path as the tables hold it (or of the
// project macro file's path as given).
struct DocumentSource {
  std::string_view path;
  SourceKind kind;

  friend bool operator==(const DocumentSource&, const DocumentSource&) = default;
};

// The files the document in the folder's slot reads when it is generated, in the order a run
// loads them: the project macro file (project_macro_file, resolved; none when empty or when the
// folder's header ends in "*"), the global content files (unless the document ends in "!!!"),
// the folder's content files (unless it ends in "!!"), its own content files, then its
// template. Each table is taken up to its limit or its first empty slot; a static document
// reads nothing.
std::vector<DocumentSource> DocumentSources(const ProjectDefinition& definition,
                                            const ProjectSettings& project, int folder_index,
                                            int document_index,
                                            std::string_view project_macro_file);

// The distinct templates of the defined documents, in the order they first appear.
std::vector<std::string> TemplateNames(const ProjectDefinition& definition);

// The distinct content files: the global ones, then each folder's own followed by those of its
// documents, in definition order, each where it first appears.
std::vector<std::string> ContentFileNames(const ProjectDefinition& definition);

// The project's structure as text lines, for a headless display. Layout, two blanks per level:
//
//   Project: Site (3 Documents)
//   Global content files: globals.par, common.par
//   Folder: Main [no project macro file]
//     Folder content files: tools.par
//     Document: index.html [-o1]
//       Template: templates\general.tpl
//       Content files: index.par
//     Document: partners.html [no folder content files]
//       Template: templates\general.tpl
//       Content files: partners.par
//     Document: images\space.gif
//       Template: (static)
//
// Names are shown as the tables hold them. A "Global content files" or "Content files" line
// appears only when there are any. The bracketed notes are the header's "*", the document's
// optimization flag and its "!!" ("no folder content files") or "!!!" ("no folder or global
// content files") ending, joined by "; ".
std::vector<std::string> ProjectStructureLines(const ProjectDefinition& definition,
                                               const ProjectSettings& project, bool sort_folders);

}  // namespace pentrak
