#include "testing/engine_records.h"

namespace pentrak::testing {

EngineRecords::EngineRecords(const MacroTags& tags) {
  project.tags = tags;
  project.macro_end_line = tags.macro_start + tags.macro_end;
  const int news = AddFolder("News");
  AddDocument(news, "/home/me/site/news.html", "");
  definition.folders[static_cast<std::size_t>(news)].documents[0].written_path = "news.html";
}

short EngineRecords::Load(short scope, const std::string& path, bool continue_if_missing) {
  int index = 0;
  switch (scope) {
    case kContentFileScope:
      index = macros.content_files_loaded++;
      break;
    case kFolderGlobalScope:
      index = macros.folder_globals_loaded++;
      break;
    case kGlobalScope:
      index = macros.globals_loaded++;
      break;
    default:
      macros.project_macro_file_loaded = true;
  }
  return LoadContentFile(load, scope, path, index, true, continue_if_missing);
}

}  // namespace pentrak::testing
