#pragma once

// Shared by the macro engine's tests: the records that loading and expansion need.

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/content_file.h"
#include "engine/expansion.h"
#include "engine/macro_tables.h"
#include "engine/test_project.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/scripted_user_interface.h"
#include "platform/test_support.h"
#include "platform/text_lines.h"
#include "project/definition.h"
#include "settings/program_options.h"
#include "settings/project_settings.h"
#include "settings/work_files.h"

namespace pentrak {

// Names a tag set in test output by its start and end tags.
inline void PrintTo(const MacroTags& tags, std::ostream* out) {
  *out << tags.macro_start << "..." << tags.macro_end;
}

}  // namespace pentrak

namespace pentrak::testing {

// A project, a definition with one folder "News" holding one document "news.html", sized macro
// tables, a log in a temporary folder, and helpers to write content files and expand lines.
class EngineTest : public ::testing::TestWithParam<MacroTags> {
 protected:
  EngineTest() : project_(TestProject(GetParam())) {
    options_.enable_logging = 1;
    work_files_.log_file = folder_ / "pentrak.txt";
    work_files_.log_active = true;
    fs_.WriteFile(work_files_.log_file, "");
    SizeMacroTables(macros_, project_);
    Folder folder;
    folder.name = "News";
    folder.documents.resize(1);
    folder.documents[0].path = "news.html";
    definition_.folders.push_back(folder);
  }

  std::string T(std::string_view text) const { return Tagged(text, project_.tags); }

  // Writes a content file from text given with tag codes, "\n" between lines; returns its path.
  std::string WriteFile(std::string_view name, std::string_view text) {
    std::string bytes;
    for (std::size_t start = 0, end = 0; start <= text.size(); start = end + 1) {
      end = std::min(text.find('\n', start), text.size());
      AppendLine(bytes, T(text.substr(start, end - start)));
    }
    const std::string path = folder_ / name;
    fs_.WriteFile(path, bytes);
    return path;
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

  short LoadText(short scope, std::string_view name, std::string_view text) {
    return Load(scope, WriteFile(name, text));
  }

  // The lines written to the log.
  std::vector<std::string> LogLines() const { return fs_.ReadLines(work_files_.log_file); }

  // Expands the first tag of a line (given with tag codes) for the one document.
  std::string Expand(std::string_view line, short& state, std::string& warning) {
    std::string result;
    warning.clear();
    ExpandMacroTag(expansion_, T(line), result, 0, 0, state, warning);
    return result;
  }
  std::string Expand(std::string_view line) {
    short state = kOutsideBlock;
    std::string warning;
    return Expand(line, state, warning);
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

inline std::string TagSetName(const ::testing::TestParamInfo<MacroTags>& info) {
  return info.param.macro_start == DefaultTags().macro_start ? "DefaultTags" : "OtherTags";
}

}  // namespace pentrak::testing
