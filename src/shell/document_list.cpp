#include "shell/document_list.h"

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/recent_folders.h"
#include "project/definition.h"
#include "project/path_resolution.h"

namespace pentrak {

namespace {

void AddNote(std::string& notes, std::string_view note) {
  if (!notes.empty()) notes += ", ";
  notes += note;
}

}  // namespace

std::vector<DocumentRow> DocumentRows(const DocumentListContext& context, int folder_index,
                                      bool show_paths, bool show_attributes) {
  std::vector<DocumentRow> rows;
  const std::vector<Folder>& folders = context.definition.folders;
  if (folder_index < 0 || folder_index >= static_cast<int>(folders.size())) return rows;
  const Folder& folder = folders[static_cast<std::size_t>(folder_index)];
  if (folder.name.empty()) return rows;
  RecentFolders handles;
  PathContext paths{context.fs, context.project, context.options};
  for (std::size_t d = 0; d < folder.documents.size() && !folder.documents[d].path.empty(); ++d) {
    const Document& document = folder.documents[d];
    DocumentRow& row = rows.emplace_back();
    row.slot = static_cast<int>(d);
    row.name = show_paths ? document.path : FileNameOfPath(document.path);
    row.path = document.path;
    row.template_path = document.template_path;
    if (!show_attributes) continue;
    if (document.template_path.empty()) AddNote(row.notes, "static");
    FileStatus status =
        context.fs.Status(ResolveProjectPath(paths, document.path, true, true), handles);
    if (status.error != 0 || status.folder) {
      AddNote(row.notes, "not generated");
      continue;
    }
    if (status.read_only) AddNote(row.notes, "read-only");
    row.modified = Clock::GeneralText(static_cast<std::time_t>(status.modified));
  }
  return rows;
}

}  // namespace pentrak
