#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_finder.h"

namespace pentrak {

class SearchFileList;
struct LogContext;
struct MacroTags;
struct ProjectDefinition;
struct ProjectSettings;

// Which project files a search or replace takes.
enum class SearchScope { kWholeProject, kCurrentDocument };

struct FileSelection {
  SearchScope scope = SearchScope::kWholeProject;
  bool globals = true;         // the project macro file and the project's global content files
  bool folder_globals = true;  // each folder's global content files
  bool templates = true;
  bool content_files = true;  // the project macro file and each document's content files
  int current_folder = -1;    // the folder and document selected in the main window
  int current_document = -1;
};

struct SearchRequest {
  std::string find_text;
  bool ignore_case = false;
  bool definitions_only = false;  // count only lines that define the macro
  bool documents_mode = false;    // search the generated documents instead of the sources
  FileSelection selection;        // documents mode reads only scope and the current document
};

// One line with hits, as the detailed results show it.
struct LineHit {
  std::string path;
  int line_number = 0;  // from 1
  int count = 0;
  std::string text;
};

// path + " (" + count + ") - " + the line's text.
std::string DetailText(const LineHit& hit);

// One entry of the results list: path + " (" + count + ")".
std::string ResultEntryText(std::string_view path, int count);

// The results list and the detailed results of the search and replace windows.
class ResultsView {
 public:
  virtual ~ResultsView() = default;
  virtual void Clear() = 0;
  // A file with hits; the path is the resolved one, so that the entry can be opened.
  virtual void AddResult(const std::string& path, int count) = 0;
  virtual void AddDetail(const LineHit& hit) = 0;
};

// Keeps every entry, for the command line and for tests.
class RecordedResults : public ResultsView {
 public:
  std::vector<std::string> results;
  std::vector<LineHit> details;

  void Clear() override {
    results.clear();
    details.clear();
  }
  void AddResult(const std::string& path, int count) override {
    results.push_back(ResultEntryText(path, count));
  }
  void AddDetail(const LineHit& hit) override { details.push_back(hit); }
};

// What a search or a replace reads and writes. The definition holds the names as written; the
// log context gives the file system, the user interface, the program options and the results
// file.
struct SearchContext {
  const ProjectSettings& project;
  const ProjectDefinition& definition;
  const LogContext& log;
  SearchFileList& files;
  ResultsView& results;
};

// The counters of one search.
struct SearchSummary {
  int files_checked = 0;
  int files_with_hits = 0;
  int occurrences = 0;
  bool stopped = false;
};

// What one line is searched for: the primary pattern, and for a definitions search the form of
// a definition with parameters.
struct SearchPattern {
  std::string primary;
  std::string alternative;
  bool definitions_only = false;
  bool ignore_case = false;
  std::string definition_mark;  // macro end tag + ":"
};

// The find text a search actually looks for: a definitions search trims it and puts the macro
// start tag in front unless it is there.
std::string EffectiveFindText(std::string_view find_text, bool definitions_only,
                              const MacroTags& tags);

SearchPattern MakeSearchPattern(std::string_view find_text, bool ignore_case, bool definitions_only,
                                const MacroTags& tags);

// The occurrences of the pattern on one line; a find continues after the found text, so an
// occurrence inside the previous one is not counted again.
int CountOccurrences(std::string_view line, const SearchPattern& pattern);

// The finds of a text in a whole file, in order and without overlap, each inside one line as
// LineCursor splits the file: a find that runs over a line's end is none, since a search line by
// line would not see it. The text and the finder must outlive it.
class FindsInText {
 public:
  FindsInText(std::string_view text, const TextFinder& finder) : text_(text), finder_(finder) {}

  // Moves to the next find after the current one; false when there is none.
  bool Next();
  std::size_t position() const { return position_; }
  int line_number() const { return line_number_; }  // from 1
  std::size_t line_start() const { return line_start_; }
  std::size_t line_end() const { return line_end_; }  // where the line's end (LF or CR LF) begins
  std::string_view line() const { return text_.substr(line_start_, line_end_ - line_start_); }

 private:
  void MoveToLineOf(std::size_t position);

  std::string_view text_;
  const TextFinder& finder_;
  std::size_t position_ = std::string_view::npos;  // npos before the first find
  bool done_ = false;
  std::size_t counted_to_ = 0;  // line breaks before this are counted in line_number_
  int line_number_ = 1;
  std::size_t line_start_ = 0;
  std::size_t line_end_ = std::string_view::npos;  // npos until the line is known
};

// Fills the list with the project's source files chosen by the selection, in definition order.
void BuildProjectFileList(const ProjectDefinition& definition, const ProjectSettings& project,
                          const FileSelection& selection, SearchFileList& files);

// Fills the list with the generated documents, all or the current one.
void BuildDocumentFileList(const ProjectDefinition& definition, const FileSelection& selection,
                           SearchFileList& files);

// Resolves a listed name to the file to open: documents against the document root, the others
// against the content roots.
std::string ResolveListedFile(const SearchContext& context, const std::string& name,
                              bool is_document);

// Walks the non-empty entries of the file list in order: resolves each, shows status_prefix +
// path, writes the path to the results file, then whatever visit writes for an existing file or,
// when visit returns false, ">File does not exist", then an empty line. The user interface is
// serviced before every second entry; returns true when it reported a stop, which ends the walk
// after the current file.
bool WalkListedFiles(const SearchContext& context, bool documents, std::string_view status_prefix,
                     const std::function<bool(const std::string& path)>& visit);

// Runs one search: the status lines, the results views and the results file "search.txt".
// Stops after the current file when the user interface reports a stop.
SearchSummary DoSearch(const SearchContext& context, const SearchRequest& request);

// The closing line: "Complete. " or "Stopped. " and the counters.
std::string SearchSummaryText(const SearchSummary& summary);

}  // namespace pentrak
