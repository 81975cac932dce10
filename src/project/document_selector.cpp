#include "project/document_selector.h"

#include <algorithm>
#include <vector>

#include "platform/paths.h"
#include "platform/text_lines.h"

namespace pentrak {

namespace {

// The number of single-letter edits that turn a into b, letters compared without case.
std::size_t EditDistance(std::string_view a, std::string_view b) {
  const std::string x = ToLowerAscii(a);
  const std::string y = ToLowerAscii(b);
  std::vector<std::size_t> row(y.size() + 1);
  for (std::size_t j = 0; j <= y.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= x.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= y.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (x[i - 1] == y[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[y.size()];
}

// Up to three names close to the one typed (a third of its letters changed, at least two),
// nearest first, in definition order among equals; as "; the nearest ..." or nothing.
std::string NearestNames(std::string_view typed, const std::vector<std::string>& names) {
  const std::size_t limit = std::max<std::size_t>(2, typed.size() / 3);
  std::vector<std::pair<std::size_t, std::string>> near;
  for (const std::string& name : names) {
    const std::size_t distance = EditDistance(typed, name);
    if (distance <= limit) near.emplace_back(distance, name);
  }
  std::stable_sort(near.begin(), near.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  if (near.size() > 3) near.resize(3);
  if (near.empty()) return "";
  std::string text = near.size() == 1 ? "; the nearest name is " : "; the nearest names are ";
  for (std::size_t i = 0; i < near.size(); ++i) {
    if (i > 0) text += i + 1 == near.size() ? " and " : ", ";
    text += "\"" + near[i].second + "\"";
  }
  return text;
}

std::vector<std::string> FolderNames(const ProjectDefinition& definition) {
  std::vector<std::string> names;
  for (const Folder& folder : definition.folders) {
    if (!folder.name.empty()) names.push_back(folder.name);
  }
  return names;
}

std::string NoFolder(const ProjectDefinition& definition, std::string_view folder) {
  return "the project has no folder \"" + std::string(folder) + "\"" +
         NearestNames(folder, FolderNames(definition)) + ".";
}

int FindFolder(const ProjectDefinition& definition, std::string_view name) {
  for (std::size_t f = 0; f < definition.folders.size(); ++f) {
    if (!name.empty() && definition.folders[f].name == name) return static_cast<int>(f);
  }
  return -1;
}

int FindDocument(const Folder& folder, std::string_view path) {
  const std::string wanted = NormalizeSeparators(path);
  for (std::size_t d = 0; d < folder.documents.size(); ++d) {
    const std::string& written = folder.documents[d].path;
    if (!written.empty() && NormalizeSeparators(written) == wanted) return static_cast<int>(d);
  }
  return -1;
}

// The document in the folder given, or in the first folder that has it.
DocumentChoice FindIn(const ProjectDefinition& definition, int only_folder,
                      std::string_view document) {
  for (std::size_t f = 0; f < definition.folders.size(); ++f) {
    if (only_folder >= 0 && static_cast<int>(f) != only_folder) continue;
    if (definition.folders[f].name.empty()) continue;
    const int d = FindDocument(definition.folders[f], document);
    if (d >= 0) return {static_cast<int>(f), d, ""};
  }
  std::vector<std::string> names;
  for (std::size_t f = 0; f < definition.folders.size(); ++f) {
    if (only_folder >= 0 && static_cast<int>(f) != only_folder) continue;
    for (const Document& candidate : definition.folders[f].documents) {
      if (!candidate.path.empty()) names.push_back(candidate.path);
    }
  }
  std::string error = "the project has no document \"" + std::string(document) + "\"";
  if (only_folder >= 0) {
    error +=
        " in the folder \"" + definition.folders[static_cast<std::size_t>(only_folder)].name + "\"";
  }
  return {-1, -1, error + NearestNames(document, names) + "."};
}

}  // namespace

DocumentChoice ChooseDocument(const ProjectDefinition& definition, std::string_view folder,
                              std::string_view document) {
  if (folder.empty()) {
    const std::size_t slash = document.find('/');
    const int named =
        slash == std::string_view::npos ? -1 : FindFolder(definition, document.substr(0, slash));
    if (named >= 0) return FindIn(definition, named, document.substr(slash + 1));
    DocumentChoice anywhere = FindIn(definition, -1, document);
    // "A/B" found nowhere, with A close to a folder's name: a mistyped folder, most likely.
    if (!anywhere.error.empty() && slash != std::string_view::npos &&
        !NearestNames(document.substr(0, slash), FolderNames(definition)).empty()) {
      anywhere.error = NoFolder(definition, document.substr(0, slash));
    }
    return anywhere;
  }
  const int f = FindFolder(definition, folder);
  if (f < 0) return {-1, -1, NoFolder(definition, folder)};
  if (document.empty()) return {f, -1, ""};
  return FindIn(definition, f, document);
}

}  // namespace pentrak
