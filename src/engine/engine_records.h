#pragma once

// For tests and fuzz targets only (no test framework needed): the records that loading and
// expansion need, with a log in a fresh temporary folder.

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

namespace pentrak::testing {

// A project with the given tags, a definition with one folder "News" holding one document
// written "news.html" (resolved "/home/me/site/news.html"), sized macro tables and an active log.
struct EngineRecords {
  explicit EngineRecords(const MacroTags& tags) : project_(TestProject(tags)) {
    options_.enable_logging = 1;
    work_files_.log_file = folder_ / "pentrak.txt";
    work_files_.log_active = true;
    fs_.WriteFile(work_files_.log_file, "");
    SizeMacroTables(macros_, project_);
    Folder folder;
    folder.name = "News";
    folder.documents.resize(1);
    folder.documents[0].path = "/home/me/site/news.html";
    folder.documents[0].written_path = "news.html";
    definition_.folders.push_back(folder);
  }

  // Loads a file as the generation run does: into the scope's next table, counting it.
  short Load(short scope, const std::string& path, bool continue_if_missing = false) {
    int index = 0;
    switch (scope) {
      case kContentFileScope:
        index = macros_.content_files_loaded++;
        break;
      case kFolderGlobalScope:
        index = macros_.folder_globals_loaded++;
        break;
      case kGlobalScope:
        index = macros_.globals_loaded++;
        break;
      default:
        macros_.project_macro_file_loaded = true;
    }
    return LoadContentFile(load_, scope, path, index, true, continue_if_missing);
  }

  TestFolder folder_;
  FileSystem fs_;
  ScriptedUserInterface ui_;
  ProgramOptions options_;
  WorkFiles work_files_;
  ProjectSettings project_;
  ProjectDefinition definition_;
  MacroTables macros_;
  Clock clock_;
  LogContext log_{work_files_, fs_, ui_, options_};
  ContentLoadContext load_{project_, fs_, log_, macros_};
  ExpansionContext expansion_{project_, definition_, macros_, clock_};
};

}  // namespace pentrak::testing
