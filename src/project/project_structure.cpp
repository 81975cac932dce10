#include "project/project_structure.h"

#include <algorithm>
#include <unordered_set>

#include "project/definition.h"
#include "settings/project_settings.h"

namespace pentrak {

namespace {

constexpr std::string_view kIndent = "  ";

// The filled slots of a table of names: up to the first empty one.
std::string JoinedNames(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) {
    if (name.empty()) break;
    if (!text.empty()) text.append(", ");
    text.append(name);
  }
  return text;
}

void AddNamesLine(std::vector<std::string>& lines, std::string_view lead,
                  const std::vector<std::string>& names) {
  std::string joined = JoinedNames(names);
  if (joined.empty()) return;
  lines.push_back(std::string(lead) + joined);
}

// " [note; note]", or nothing without notes.
std::string Notes(const std::vector<std::string_view>& notes) {
  if (notes.empty()) return "";
  std::string text = " [";
  for (std::size_t i = 0; i < notes.size(); ++i) {
    if (i > 0) text.append("; ");
    text.append(notes[i]);
  }
  text.append("]");
  return text;
}

std::string DocumentHeading(const Document& document) {
  constexpr std::string_view kFlagNames[] = {"-ox", "-o1", "-o2"};
  std::vector<std::string_view> notes;
  if (document.optimization_flag >= 0 && document.optimization_flag <= 2) {
    notes.push_back(kFlagNames[document.optimization_flag]);
  }
  if (document.no_project_globals == 1) {
    notes.push_back("no folder or global content files");
  } else if (document.no_folder_globals == 1) {
    notes.push_back("no folder content files");
  }
  return std::string(kIndent) + "Document: " + document.path + Notes(notes);
}

void AddFolderLines(std::vector<std::string>& lines, const Folder& folder) {
  std::vector<std::string_view> notes;
  if (folder.no_project_macro_file == 1) notes.push_back("no project macro file");
  lines.push_back("Folder: " + folder.name + Notes(notes));
  AddNamesLine(lines, std::string(kIndent) + "Folder content files: ", folder.content_files);
  const std::string detail = std::string(kIndent) + std::string(kIndent);
  for (const Document& document : folder.documents) {
    if (document.path.empty()) break;
    lines.push_back(DocumentHeading(document));
    lines.push_back(detail + "Template: " +
                    (document.template_path.empty() ? "(static)" : document.template_path));
    AddNamesLine(lines, detail + "Content files: ", document.content_files);
  }
}

// Adds the filled slots of names not yet in list; seen holds what list holds, so that a large
// project's tens of thousands of names cost a lookup each rather than a search of the list.
void AddDistinct(std::vector<std::string>& list, std::unordered_set<std::string_view>& seen,
                 const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    if (name.empty()) break;
    if (seen.insert(name).second) list.push_back(name);
  }
}

// Adds a table's filled slots, up to its limit, as sources of one kind.
void AddSources(std::vector<DocumentSource>& sources, const std::vector<std::string>& files,
                int limit, SourceKind kind) {
  for (int i = 0; i < limit && i < static_cast<int>(files.size()); ++i) {
    if (files[i].empty()) break;
    sources.push_back({files[i], kind});
  }
}

}  // namespace

std::vector<DocumentSource> DocumentSources(const ProjectDefinition& definition,
                                            const ProjectSettings& project, int folder_index,
                                            int document_index,
                                            std::string_view project_macro_file) {
  const Folder& folder = definition.folders[folder_index];
  const Document& document = folder.documents[document_index];
  std::vector<DocumentSource> sources;
  if (document.template_path.empty()) return sources;
  // A document's own content files are its most; the shared ones are few.
  sources.reserve(8);
  if (!project_macro_file.empty() && folder.no_project_macro_file != 1) {
    sources.push_back({project_macro_file, SourceKind::kProjectMacroFile});
  }
  if (document.no_project_globals != 1) {
    AddSources(sources, definition.global_content_files, project.max_globals, SourceKind::kGlobal);
  }
  if (document.no_folder_globals != 1) {
    AddSources(sources, folder.content_files, project.max_folder_globals, SourceKind::kFolder);
  }
  AddSources(sources, document.content_files, project.max_content_files, SourceKind::kDocument);
  sources.push_back({document.template_path, SourceKind::kTemplate});
  return sources;
}

std::vector<std::string> TemplateNames(const ProjectDefinition& definition) {
  std::vector<std::string> names;
  std::unordered_set<std::string_view> seen;
  for (const Folder& folder : definition.folders) {
    if (folder.name.empty()) break;
    for (const Document& document : folder.documents) {
      if (document.path.empty()) break;
      // Static documents have no template; their empty slot must not end the list.
      const std::string& name = document.template_path;
      if (!name.empty() && seen.insert(name).second) names.push_back(name);
    }
  }
  return names;
}

std::vector<std::string> ContentFileNames(const ProjectDefinition& definition) {
  std::vector<std::string> names;
  std::unordered_set<std::string_view> seen;
  AddDistinct(names, seen, definition.global_content_files);
  for (const Folder& folder : definition.folders) {
    if (folder.name.empty()) break;
    AddDistinct(names, seen, folder.content_files);
    for (const Document& document : folder.documents) {
      if (document.path.empty()) break;
      AddDistinct(names, seen, document.content_files);
    }
  }
  return names;
}

std::vector<int> FolderDisplayOrder(const ProjectDefinition& definition, bool sorted) {
  std::vector<int> order;
  for (std::size_t i = 0; i < definition.folders.size(); ++i) {
    if (definition.folders[i].name.empty()) break;
    order.push_back(static_cast<int>(i));
  }
  if (sorted) {
    std::stable_sort(order.begin(), order.end(), [&definition](int a, int b) {
      return definition.folders[a].name < definition.folders[b].name;
    });
  }
  return order;
}

std::vector<std::string> ProjectStructureLines(const ProjectDefinition& definition,
                                               const ProjectSettings& project, bool sort_folders) {
  std::vector<std::string> lines;
  lines.push_back("Project: " + project.name + " (" + std::to_string(definition.document_count) +
                  " Documents)");
  AddNamesLine(lines, "Global content files: ", definition.global_content_files);
  for (int index : FolderDisplayOrder(definition, sort_folders)) {
    AddFolderLines(lines, definition.folders[index]);
  }
  return lines;
}

}  // namespace pentrak
