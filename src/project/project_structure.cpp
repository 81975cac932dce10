#include "project/project_structure.h"

#include <algorithm>

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

// Adds the filled slots of names not yet in list.
void AddDistinct(std::vector<std::string>& list, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    if (name.empty()) break;
    if (std::find(list.begin(), list.end(), name) == list.end()) list.push_back(name);
  }
}

}  // namespace

std::vector<std::string> TemplateNames(const ProjectDefinition& definition) {
  std::vector<std::string> names;
  for (const Folder& folder : definition.folders) {
    if (folder.name.empty()) break;
    for (const Document& document : folder.documents) {
      if (document.path.empty()) break;
      // Static documents have no template; their empty slot must not end the list.
      const std::string& name = document.template_path;
      if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) {
        names.push_back(name);
      }
    }
  }
  return names;
}

std::vector<std::string> ContentFileNames(const ProjectDefinition& definition) {
  std::vector<std::string> names;
  AddDistinct(names, definition.global_content_files);
  for (const Folder& folder : definition.folders) {
    if (folder.name.empty()) break;
    AddDistinct(names, folder.content_files);
    for (const Document& document : folder.documents) {
      if (document.path.empty()) break;
      AddDistinct(names, document.content_files);
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
