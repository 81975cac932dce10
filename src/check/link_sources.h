#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/macro_tables.h"
#include "project/definition.h"
#include "settings/program_options.h"
#include "settings/work_files.h"

namespace pentrak {

class Clock;
class FileSystem;
class OriginRecorder;
class UserInterface;
struct ProjectSettings;

// Where the text of a link was written.
struct LinkSource {
  std::string file;  // the template, content file or static document
  int line = 0;
  std::string value_of;    // the macro whose value holds that line, as "[@NAME]"; "" for a template
  std::string macro;       // the macro that put the link together from it; "" when none
  std::string macro_file;  // where that macro is defined, and the line of its definition
  int macro_line = 0;

  friend bool operator==(const LinkSource&, const LinkSource&) = default;
};

// What tracing the documents of the current project reads. Nothing is shown or logged: the
// definition's errors leave the links without sources, and the expansion logs nothing.
struct SourceContext {
  const FileSystem& fs;
  UserInterface& ui;
  const Clock& clock;
  const ProgramOptions& options;
  const ProjectSettings& project;
};

// Finds the template or content file line that wrote a link of a generated document. The check
// reads the document root as it is; only the documents that hold a broken link are expanded
// again, in memory and without writing anything, since tracing every document would cost a cold
// check a whole generation run.
class LinkSources {
 public:
  // Reads the project's definition; when it cannot be read, no link has a source.
  explicit LinkSources(const SourceContext& context);
  ~LinkSources();
  LinkSources(const LinkSources&) = delete;
  LinkSources& operator=(const LinkSources&) = delete;

  // Where the link written as url at offset of the page (its path and its text as read) came
  // from: the static document itself, or the source line of a generated one. Nothing for a file
  // that is not a document of the project, or one whose sources no longer give its text.
  std::optional<LinkSource> Find(const std::string& page_path, std::string_view page_text,
                                 std::size_t offset, std::string_view url);

 private:
  struct Traced;
  struct Place {
    int folder;
    int document;
  };

  const Traced& TraceOnce(const std::string& key, Place place);
  std::unique_ptr<OriginRecorder> Trace(Place place);
  void LoadMacros(Place place);
  int LineHolding(const std::string& file, int from, int estimate, bool value,
                  std::string_view url);
  const std::vector<std::string>& FileLines(const std::string& file);

  SourceContext context_;
  ProgramOptions quiet_options_;  // the options with logging off
  WorkFiles work_files_;
  LogContext log_;
  ProjectDefinition definition_;
  MacroTables macros_;
  std::unordered_map<std::string, Place> documents_;  // by ComparablePath
  std::map<std::string, std::unique_ptr<Traced>> traced_;
  std::map<std::string, std::vector<std::string>> file_lines_;
};

// A path as the map of documents compares it: native separators, no "." or ".." parts.
std::string ComparablePath(std::string_view path);

}  // namespace pentrak
