#pragma once

#include <string>
#include <vector>

namespace pentrak {

struct ProjectDefinition;
struct ProjectSettings;

// The indexes of the defined folders (up to the first free slot) in the order the folder list
// shows them: definition order, or by name (byte order; equal names keep definition order) when
// sorted.
std::vector<int> FolderDisplayOrder(const ProjectDefinition& definition, bool sorted);

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
