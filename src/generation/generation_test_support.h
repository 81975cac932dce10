#pragma once

// For tests only: the records a generation needs, over a fresh folder on the real file system.

#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "engine/content_file.h"
#include "engine/document_generator.h"
#include "engine/expansion.h"
#include "engine/macro_tables.h"
#include "generation/generation_run.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/scripted_user_interface.h"
#include "platform/test_support.h"
#include "platform/text_lines.h"
#include "project/definition.h"
#include "settings/program_options.h"
#include "settings/project_file.h"
#include "settings/project_settings.h"
#include "settings/work_files.h"

namespace pentrak {

// A project whose files live in a fresh folder: the content root is <folder>/src, the document
// root <folder>/site, the work folder <folder>/temp/. The settings are those of a project file
// of a new project, apart from the name "Site" and the roots.
class GenerationFixture {
 public:
  GenerationFixture() {
    SetNewProjectDefaults(project);
    project.name = "Site";
    project.document_root = folder / "site";
    project.content_root = folder / "src";
    project.temporary_files_path = folder / "temp/";
    project.macro_end_line = project.tags.macro_start + project.tags.macro_end;
    options.enable_logging = 1;
    fs.CreateFolderPath(project.document_root + "/");
    SetWorkFiles(Log(), project, folder.path());
    fs.WriteFile(work_files.log_file, "");
    SizeTables();
  }

  // Writes the bytes to a file below the folder, creating its folders.
  void WriteText(std::string_view name, std::string_view text) const {
    fs.CreateFolderPath(Path(name));
    fs.WriteFile(Path(name), text);
  }
  std::string ReadText(std::string_view name) const { return fs.ReadFile(Path(name)); }
  std::string Path(std::string_view name) const { return folder / name; }
  bool Exists(std::string_view name) const { return fs.FileExists(Path(name)); }

  // Sizes the tables from the current limits (again after changing them).
  void SizeTables() {
    SizeDefinitionTables(definition, project);
    SizeMacroTables(macros, project);
  }

  // The text with the folder's path shown as "<dir>" and date-time texts as "<time>".
  std::string Masked(const std::string& text) const {
    std::string masked =
        std::regex_replace(text, std::regex("\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}"), "<time>");
    for (std::size_t at; (at = masked.find(folder.path())) != std::string::npos;) {
      masked.replace(at, folder.path().size(), "<dir>");
    }
    return masked;
  }

  // The log's lines, masked.
  std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    std::string log = Masked(fs.ReadFile(work_files.log_file));
    LineCursor cursor(log);
    for (std::string_view line; cursor.Next(line);) lines.emplace_back(line);
    return lines;
  }

  // The status lines, masked.
  std::vector<std::string> StatusLines() const {
    std::vector<std::string> lines;
    for (const std::string& line : ui.status_lines) lines.push_back(Masked(line));
    return lines;
  }

  GenerationContext Context() {
    return GenerationContext{ui,         fs,     clock,      options, display, project,
                             definition, macros, work_files, state,   {}};
  }
  LogContext Log() { return LogContext{work_files, fs, ui, options}; }

  TestFolder folder;
  ScriptedUserInterface ui;
  FileSystem fs;
  Clock clock;
  ProgramOptions options;
  DisplaySettings display;
  ProjectSettings project;
  ProjectDefinition definition;
  MacroTables macros;
  WorkFiles work_files;
  GenerationState state;
};

}  // namespace pentrak
