#pragma once

// The records the macro engine needs, set up once per fuzz input in a fresh temporary folder:
// a project with small limits and a chosen tag set, a definition with one folder holding one
// document, sized macro tables and an active log.

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/content_file.h"
#include "engine/expansion.h"
#include "engine/macro_tables.h"
#include "engine/test_project.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/scripted_user_interface.h"
#include "platform/test_support.h"
#include "project/definition.h"
#include "settings/program_options.h"
#include "settings/project_settings.h"
#include "settings/work_files.h"

namespace pentrak::fuzzing {

// An odd byte picks the tag set whose every tag differs from the default one, so that code
// that assumes a default tag shows.
inline MacroTags TagsFor(std::uint8_t selector) {
  return (selector & 1) != 0 ? testing::OtherTags() : testing::DefaultTags();
}

// The input as text, from offset start.
inline std::string TextFrom(const std::uint8_t* data, std::size_t size, std::size_t start) {
  return start < size ? std::string(reinterpret_cast<const char*>(data) + start, size - start)
                      : std::string();
}

class EngineSetup {
 public:
  explicit EngineSetup(const MacroTags& tags) : project(testing::TestProject(tags)) {
    // Small limits reach the "exceeded" paths with short inputs.
    project.max_content_file_macros = 6;
    project.max_folder_global_macros = 4;
    project.max_global_macros = 5;
    project.max_project_macros = 3;
    project.max_parameters = 3;
    project.max_content_files = 2;
    project.max_folder_globals = 2;
    project.max_globals = 2;
    project.max_nested_macros = 8;
    options.enable_logging = 1;
    work_files.log_file = folder / "pentrak.txt";
    work_files.log_active = true;
    fs.WriteFile(work_files.log_file, "");
    SizeMacroTables(macros, project);
    SizeDefinitionTables(definition, project);
    definition.folders[0].name = "News";
    definition.folders[0].documents[0].path = "news.html";
  }

  // Loads a file into the next table of a scope, counting it as the generation run does.
  short Load(short scope, const std::string& path) {
    int index = 0;
    if (scope == kContentFileScope) index = macros.content_files_loaded++;
    if (scope == kFolderGlobalScope) index = macros.folder_globals_loaded++;
    if (scope == kGlobalScope) index = macros.globals_loaded++;
    if (scope == kProjectMacroScope) macros.project_macro_file_loaded = true;
    return LoadContentFile(load, scope, path, index, true, false);
  }

  TestFolder folder;
  FileSystem fs;
  ScriptedUserInterface ui;
  ProgramOptions options;
  WorkFiles work_files;
  ProjectSettings project;
  ProjectDefinition definition;
  MacroTables macros;
  Clock clock;
  LogContext log{work_files, fs, ui, options};
  ContentLoadContext load{project, fs, log, macros};
  ExpansionContext expansion{project, definition, macros, clock};
};

}  // namespace pentrak::fuzzing
