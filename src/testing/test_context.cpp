#include "testing/test_context.h"

#include <regex>
#include <utility>

#include "testing/test_project.h"

namespace pentrak {

TestContext::TestContext() : project(testing::NewProject()) {
  project.name = "Site";
  project.content_root = folder / "src";
  project.document_root = folder / "site";
  project.temporary_files_path = folder / "temp/";
  options.enable_logging = 1;
  fs.CreateFolder(project.content_root);
  fs.CreateFolder(project.document_root);
  SetWorkFiles(log, project, folder.path());
  fs.WriteFile(work_files.log_file, "");
  SizeTables();
}

void TestContext::SizeTables() {
  SizeDefinitionTables(definition);
  SizeMacroTables(macros);
}

GenerationContext TestContext::Generation() {
  return GenerationContext{ui,         fs,     clock,      options, display, project,
                           definition, macros, work_files, state,   {}};
}

void TestContext::WriteText(std::string_view name, std::string_view text) const {
  fs.CreateFolderPath(Path(name));
  fs.WriteFile(Path(name), text);
}

int TestContext::AddFolder(const std::string& name, std::vector<std::string> globals) {
  std::size_t slot = 0;
  while (slot < definition.folders.size() && !definition.folders[slot].name.empty()) ++slot;
  if (slot == definition.folders.size()) definition.folders.emplace_back();
  definition.folders[slot].name = name;
  definition.folders[slot].content_files = std::move(globals);
  return static_cast<int>(slot);
}

void TestContext::AddDocument(int folder_index, const std::string& path,
                              const std::string& template_path,
                              std::vector<std::string> content_files) {
  std::vector<Document>& documents =
      definition.folders[static_cast<std::size_t>(folder_index)].documents;
  std::size_t slot = 0;
  while (slot < documents.size() && !documents[slot].path.empty()) ++slot;
  if (slot == documents.size()) documents.emplace_back();
  documents[slot].path = path;
  documents[slot].written_path = path;
  documents[slot].template_path = template_path;
  documents[slot].content_files = std::move(content_files);
}

std::string TestContext::Masked(const std::string& text) const {
  static const std::regex kDateTime("\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}");
  return folder.Masked(std::regex_replace(text, kDateTime, "<time>"));
}

std::vector<std::string> TestContext::LogLines() const {
  return folder.MaskedLines(Masked(fs.ReadFile(work_files.log_file)));
}

std::vector<std::string> TestContext::StatusLines() const {
  std::vector<std::string> lines;
  for (const std::string& line : ui.status_lines) lines.push_back(Masked(line));
  return lines;
}

}  // namespace pentrak
