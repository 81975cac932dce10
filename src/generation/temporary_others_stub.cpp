// TEMPORARY: crude stand-ins for functions other branches own, so this branch links and its
// tests can run before they land. Remove on merge.
#include <algorithm>

#include "engine/content_file.h"
#include "engine/expansion.h"
#include "engine/macro_tables.h"
#include "generation/temporary_contracts_stub.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text_lines.h"
#include "project/definition.h"
#include "settings/program_options.h"
#include "settings/project_settings.h"
#include "settings/work_files.h"

namespace pentrak {

void SetWorkFiles(const LogContext&, const ProjectSettings&, const std::string&) {}

void WriteLog(const LogContext& log, std::string_view text, bool create, bool) {
  if (log.options.enable_logging != 1) return;
  if (create) log.work_files.log_active = true;
  if (!log.work_files.log_active) return;
  if (create) {
    std::string bytes;
    AppendLine(bytes, text);
    log.fs.WriteFile(log.work_files.log_file, bytes);
  } else {
    log.fs.AppendLine(log.work_files.log_file, text);
  }
}

void WriteResultsFile(const LogContext&, std::string_view, bool) {}

void WriteGeneratedFilesList(const LogContext& log, std::string_view text, bool create,
                             bool write) {
  std::string bytes;
  if (write) AppendLine(bytes, text);
  if (create) {
    log.fs.WriteFile(log.work_files.generated_files_list, bytes);
  } else {
    log.fs.AppendBytes(log.work_files.generated_files_list, bytes);
  }
}

void SizeMacroTables(MacroTables& macros, const ProjectSettings& project) {
  macros.content_files.assign(project.max_content_files, {});
  macros.folder_globals.assign(project.max_folder_globals, {});
  macros.globals.assign(project.max_globals, {});
}

void ClearMacroTables(MacroTables& macros, const ClearSwitches& which) {
  if (which.content_files) {
    for (auto& t : macros.content_files) t = {};
    macros.content_files_loaded = 0;
  }
  if (which.folder_globals) {
    for (auto& t : macros.folder_globals) t = {};
    macros.folder_globals_loaded = 0;
  }
  if (which.globals) {
    for (auto& t : macros.globals) t = {};
    macros.globals_loaded = 0;
  }
  if (which.project_macros) {
    macros.project_macros = {};
    macros.project_macro_file_loaded = false;
  }
}

void ClearCallParameters(MacroTables& macros) { macros.call_parameters.clear(); }

short LoadContentFile(const ContentLoadContext& context, short scope, const std::string& path,
                      int table_index, bool, bool) {
  if (path.empty()) return kLoadOk;
  if (!context.fs.FileExists(path)) return kLoadMissingFile;
  MacroTable* table = scope == kProjectMacroScope   ? &context.macros.project_macros
                      : scope == kGlobalScope       ? &context.macros.globals[table_index]
                      : scope == kFolderGlobalScope ? &context.macros.folder_globals[table_index]
                                                    : &context.macros.content_files[table_index];
  table->file_name = path;
  std::vector<std::string> lines = context.fs.ReadLines(path);
  for (std::size_t i = 0; i + 1 < lines.size(); i += 3) {
    Macro m;
    m.name = lines[i].substr(0, lines[i].size() - 1);
    m.value = lines[i + 1];
    table->slots.push_back(m);
  }
  return kLoadOk;
}

void ExpandMacroTag(const ExpansionContext& context, std::string_view line, std::string& result,
                    int, int, short& state, std::string& warning) {
  const std::string& start = context.project.tags.macro_start;
  std::size_t a = line.find(start);
  std::size_t b = line.find(context.project.tags.macro_end, a + start.size());
  if (b == std::string_view::npos) throw Error(kErrorInvalidMacroTag, "Invalid tag in string: ");
  std::string tag(line.substr(a, b + 1 - a));
  std::string value;
  auto find = [&](const MacroTable& t) {
    for (const Macro& m : t.slots)
      if (m.name == tag && value.empty()) value = m.value;
  };
  find(context.macros.project_macros);
  for (auto& t : context.macros.content_files) find(t);
  for (auto& t : context.macros.folder_globals) find(t);
  for (auto& t : context.macros.globals) find(t);
  if (tag == "[@{X]") {
    state = value.empty() ? 2 : 1;
    return;
  }
  if (tag == "[@}]") {
    state = 0;
    return;
  }
  if (tag == "[@!W]") warning = "WARNING: The required Macro [@!W] does not have a value.";
  result = std::string(line.substr(0, a)) + value + std::string(line.substr(b + 1));
}

void ReadDefinition(const DefinitionContext& context, bool resolve, bool) {
  ProjectDefinition& d = context.definition;
  for (auto& g : d.global_content_files) g.clear();
  for (auto& f : d.folders) {
    f.name.clear();
    for (auto& c : f.content_files) c.clear();
    for (auto& doc : f.documents) doc = Document{{}, {}, doc.content_files, 0, 0, 0};
  }
  std::string root = context.project.content_root;
  auto res = [&](const std::string& n, const std::string& r) {
    return resolve ? JoinPath(r, n) : n;
  };
  std::vector<std::string> lines =
      context.fs.ReadLines(JoinPath(context.project.content_root, context.project.definition_file));
  int fi = -1, di = 0;
  for (std::string line : lines) {
    if (line.empty()) continue;
    if (line[0] == '[') {
      ++fi;
      di = 0;
      d.folders[fi].name = line.substr(1, line.find(']') - 1);
      continue;
    }
    std::vector<std::string> fields;
    std::size_t pos = line.rfind('=') == std::string::npos ? 0 : line.rfind('=') + 1;
    while (pos <= line.size()) {
      std::size_t c = line.find(',', pos);
      if (c == std::string::npos) c = line.size();
      fields.emplace_back(TrimBlanks(line.substr(pos, c - pos)));
      pos = c + 1;
    }
    if (line.starts_with("Globals=")) {
      auto& target = fi < 0 ? d.global_content_files : d.folders[fi].content_files;
      for (std::size_t i = 0; i < fields.size(); ++i) target[i] = res(fields[i], root);
      continue;
    }
    Document& doc = d.folders[fi].documents[di++];
    doc.optimization_flag = -1;
    doc.path = res(fields[0], context.project.document_root);
    if (fields.size() > 1) doc.template_path = res(fields[1], root);
    for (std::size_t i = 2; i < fields.size(); ++i) doc.content_files[i - 2] = res(fields[i], root);
  }
}

std::string ResolveProjectPath(const PathContext& context, std::string_view name, bool, bool,
                               std::string_view, std::string_view, bool*) {
  return JoinPath(context.project.content_root, name);
}

std::vector<int> FolderDisplayOrder(const ProjectDefinition& definition, bool) {
  std::vector<int> order;
  for (std::size_t i = 0; i < definition.folders.size() && !definition.folders[i].name.empty(); ++i)
    order.push_back(static_cast<int>(i));
  return order;
}

void SizeDefinitionTables(ProjectDefinition& definition, const ProjectSettings& project) {
  definition.global_content_files.assign(project.max_globals, "");
  Folder folder;
  folder.content_files.assign(project.max_folder_globals, "");
  Document document;
  document.content_files.assign(project.max_content_files, "");
  folder.documents.assign(project.max_docs, document);
  definition.folders.assign(project.max_folders, folder);
}

}  // namespace pentrak
