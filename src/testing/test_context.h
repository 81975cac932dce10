#pragma once

// For tests only: the complete context that loading, generation, search and replace work in,
// over a fresh folder on the real file system.

#include <string>
#include <string_view>
#include <vector>

#include "engine/macro_tables.h"
#include "generation/generation_run.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "project/definition.h"
#include "search/search.h"
#include "search/search_file_list.h"
#include "settings/program_options.h"
#include "settings/project_settings.h"
#include "settings/work_files.h"
#include "testing/scripted_user_interface.h"
#include "testing/test_folder.h"

namespace pentrak {

// A project with the settings of a new project file, named "Site", whose content root is
// <folder>/src, document root <folder>/site and work folder <folder>/temp/ (all created); its
// definition and macro tables sized from its limits, all slots free for the test to fill;
// logging on and an empty, active log.
class TestContext {
 public:
  TestContext();
  virtual ~TestContext() = default;
  TestContext(const TestContext&) = delete;
  TestContext& operator=(const TestContext&) = delete;

  std::string Path(std::string_view name) const { return folder / name; }
  // The path of a file below the content root.
  std::string Source(std::string_view name) const { return Path("src/" + std::string(name)); }
  // Writes the bytes to a file below the folder, creating its folders.
  void WriteText(std::string_view name, std::string_view text) const;
  std::string ReadText(std::string_view name) const { return fs.ReadFile(Path(name)); }
  bool Exists(std::string_view name) const { return fs.FileExists(Path(name)); }

  // Sizes the tables from the current limits (again after changing them).
  void SizeTables();
  // Fills the next free folder slot with a folder and its global content files; returns its
  // index.
  int AddFolder(const std::string& name, std::vector<std::string> globals = {});
  void AddDocument(int folder_index, const std::string& path, const std::string& template_path,
                   std::vector<std::string> content_files = {});

  GenerationContext Generation();
  SearchContext Search() { return {project, definition, log, search_files, results}; }

  // The text with the folder shown as "<dir>" and date-time texts as "<time>".
  std::string Masked(const std::string& text) const;
  // The log's lines and the status lines, masked.
  std::vector<std::string> LogLines() const;
  std::vector<std::string> StatusLines() const;

  TestFolder folder;
  FileSystem fs;
  ScriptedUserInterface ui;
  Clock clock;
  ProgramOptions options;
  DisplaySettings display;
  ProjectSettings project;
  ProjectDefinition definition;
  MacroTables macros;
  WorkFiles work_files;
  LogContext log{work_files, fs, ui, options};
  GenerationState state;
  SearchFileList search_files;
  RecordedResults results;
};

}  // namespace pentrak
