#pragma once

// For tests and fuzz targets only (no test framework needed): the records that loading and
// expansion need.

#include <string>

#include "engine/content_file.h"
#include "engine/expansion.h"
#include "testing/test_context.h"

namespace pentrak::testing {

// A test context with the given tags and one folder "News" holding one document written
// "news.html" (resolved "/home/me/site/news.html").
struct EngineRecords : TestContext {
  explicit EngineRecords(const MacroTags& tags);

  // Loads a file as the generation run does: into the scope's next table, counting it.
  short Load(short scope, const std::string& path, bool continue_if_missing = false);

  ContentLoadContext load{project, fs, log, macros};
  ExpansionContext expansion{project, definition, macros, clock};
};

}  // namespace pentrak::testing
