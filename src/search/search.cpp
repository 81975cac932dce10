#include "search/search.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/file_system.h"
#include "platform/text_lines.h"
#include "platform/user_interface.h"
#include "project/definition.h"
#include "project/path_resolution.h"
#include "search/search_file_list.h"
#include "settings/project_settings.h"
#include "settings/work_files.h"

namespace pentrak {

namespace {

bool InScope(const FileSelection& selection, int folder, int document) {
  if (selection.scope == SearchScope::kWholeProject) return true;
  return folder == selection.current_folder &&
         (document < 0 || document == selection.current_document);
}

void AddAll(const std::vector<std::string>& names, SearchFileList& files) {
  for (const std::string& name : names) files.Add(name);
}

// Reports every line with hits and returns their number. A definitions search looks at each
// line's start, so it goes line by line; any other search finds on the whole file at once.
int SearchText(const SearchContext& context, const SearchPattern& pattern, const std::string& path,
               std::string_view text) {
  int found = 0;
  auto report = [&](int line_number, int count, std::string_view line) {
    found += count;
    context.results.AddDetail({path, line_number, count, std::string(line)});
  };
  if (pattern.definitions_only) {
    LineCursor cursor(text);
    std::string_view line;
    for (int line_number = 1; cursor.Next(line); ++line_number) {
      int count = CountOccurrences(line, pattern);
      if (count > 0) report(line_number, count, line);
    }
    return found;
  }
  TextFinder finder(pattern.primary, pattern.ignore_case);
  FindsInText finds(text, finder);
  for (bool more = finds.Next(); more;) {
    int line_number = finds.line_number();
    std::string_view line = finds.line();
    int count = 0;
    do {
      ++count;
      more = finds.Next();
    } while (more && finds.line_number() == line_number);
    report(line_number, count, line);
  }
  return found;
}

// False when the path names no file. The file is read without a look beforehand: one look less
// per file is most of what a search over many small files costs beyond reading them.
bool SearchOneFile(const SearchContext& context, const SearchPattern& pattern,
                   const std::string& path, SearchSummary& summary) {
  const LogContext& log = context.log;
  std::optional<std::string> text = log.fs.ReadFileIfPresent(path);
  if (!text) return false;
  ++summary.files_checked;
  int found = SearchText(context, pattern, path, *text);
  if (found == 0) {
    WriteResultsFile(log, ">Not found", false);
    return true;
  }
  ++summary.files_with_hits;
  summary.occurrences += found;
  log.ui.AddStatusLine(Plural(found, "occurrence") + " found.");
  context.results.AddResult(path, found);
  WriteResultsFile(log, ">" + Plural(found, "occurrence") + " found", false);
  return true;
}

}  // namespace

std::string ResultEntryText(std::string_view path, int count) {
  return std::string(path) + " (" + std::to_string(count) + ")";
}

bool FindsInText::Next() {
  if (done_) return false;
  std::size_t from = position_ == std::string_view::npos ? 0 : position_ + finder_.size();
  for (std::size_t at = finder_.Find(text_, from); at != std::string_view::npos;
       at = finder_.Find(text_, at + 1)) {
    MoveToLineOf(at);
    if (at + finder_.size() <= line_end_) {
      position_ = at;
      return true;
    }
  }
  done_ = true;
  return false;
}

void FindsInText::MoveToLineOf(std::size_t position) {
  const char* base = text_.data();
  bool moved = line_end_ == std::string_view::npos;
  while (counted_to_ < position) {
    const void* lf = std::memchr(base + counted_to_, '\n', position - counted_to_);
    if (lf == nullptr) break;
    line_start_ = static_cast<std::size_t>(static_cast<const char*>(lf) - base) + 1;
    counted_to_ = line_start_;
    ++line_number_;
    moved = true;
  }
  counted_to_ = std::max(counted_to_, position);
  if (!moved) return;
  // As LineCursor ends a line: before its LF, and before a CR that precedes that LF.
  std::size_t lf = text_.find('\n', line_start_);
  if (lf == std::string_view::npos) {
    line_end_ = text_.size();
  } else {
    line_end_ = lf > line_start_ && text_[lf - 1] == '\r' ? lf - 1 : lf;
  }
}

std::string DetailText(const LineHit& hit) {
  return ResultEntryText(hit.path, hit.count) + " - " + hit.text;
}

std::string EffectiveFindText(std::string_view find_text, bool definitions_only,
                              const MacroTags& tags) {
  if (!definitions_only) return std::string(find_text);
  std::string_view trimmed = TrimBlanks(find_text);
  if (trimmed.starts_with(tags.macro_start)) return std::string(trimmed);
  return tags.macro_start + std::string(trimmed);
}

SearchPattern MakeSearchPattern(std::string_view find_text, bool ignore_case, bool definitions_only,
                                const MacroTags& tags) {
  SearchPattern pattern;
  pattern.ignore_case = ignore_case;
  pattern.definitions_only = definitions_only;
  pattern.definition_mark = tags.macro_end + ":";
  pattern.primary = std::string(find_text);
  bool names_a_macro = definitions_only && !tags.macro_end.empty() &&
                       find_text.find(tags.macro_end, 1) != std::string_view::npos;
  if (!names_a_macro) return pattern;
  if (find_text.find(pattern.definition_mark, 1) == std::string_view::npos) {
    pattern.primary += ":";
  }
  // "[@NAME]:" also matches as "[@NAME(@" when the definition declares parameters.
  std::size_t cut = tags.macro_end.size() + 1;
  pattern.alternative =
      pattern.primary.substr(0, pattern.primary.size() - cut) + tags.parameter_start;
  return pattern;
}

int CountOccurrences(std::string_view line, const SearchPattern& pattern) {
  if (pattern.primary.empty()) return 0;
  int count = 0;
  std::size_t position = 0;
  while (position < line.size()) {
    std::string_view found_pattern = pattern.primary;
    std::size_t found = FindText(line, found_pattern, position, pattern.ignore_case);
    if (found == std::string_view::npos && !pattern.alternative.empty()) {
      found_pattern = pattern.alternative;
      found = FindText(line, found_pattern, position, pattern.ignore_case);
    }
    if (found == std::string_view::npos) break;
    position = found + found_pattern.size();
    if (!pattern.definitions_only) {
      ++count;
      continue;
    }
    // A definition starts its line and carries the end tag and colon somewhere on it.
    std::size_t mark = FindText(line, pattern.definition_mark, 0, pattern.ignore_case);
    if (found == 0 && mark != std::string_view::npos) {
      ++count;
      position = mark + pattern.definition_mark.size();
    }
  }
  return count;
}

void BuildProjectFileList(const ProjectDefinition& definition, const ProjectSettings& project,
                          const FileSelection& selection, SearchFileList& files) {
  if (selection.globals || selection.content_files) files.Add(project.project_macro_file);
  if (selection.globals) AddAll(definition.global_content_files, files);
  for (std::size_t f = 0; f < definition.folders.size(); ++f) {
    const Folder& folder = definition.folders[f];
    if (folder.name.empty()) continue;
    int folder_index = static_cast<int>(f);
    if (selection.folder_globals && InScope(selection, folder_index, -1)) {
      AddAll(folder.content_files, files);
    }
    for (std::size_t d = 0; d < folder.documents.size(); ++d) {
      const Document& document = folder.documents[d];
      if (document.path.empty() || !InScope(selection, folder_index, static_cast<int>(d))) {
        continue;
      }
      if (selection.templates) files.Add(document.template_path);
      if (selection.content_files) AddAll(document.content_files, files);
    }
  }
}

void BuildDocumentFileList(const ProjectDefinition& definition, const FileSelection& selection,
                           SearchFileList& files) {
  for (std::size_t f = 0; f < definition.folders.size(); ++f) {
    const Folder& folder = definition.folders[f];
    for (std::size_t d = 0; d < folder.documents.size(); ++d) {
      if (InScope(selection, static_cast<int>(f), static_cast<int>(d))) {
        files.Add(folder.documents[d].path);
      }
    }
  }
}

std::string ResolveListedFile(const SearchContext& context, const std::string& name,
                              bool is_document) {
  const LogContext& log = context.log;
  return ResolveProjectPath({log.fs, context.project, log.options}, name, true, is_document);
}

bool WalkListedFiles(const SearchContext& context, bool documents, std::string_view status_prefix,
                     const std::function<bool(const std::string& path)>& visit) {
  const LogContext& log = context.log;
  int index = 0;
  for (const std::string& name : context.files.Names()) {
    if (index % 2 == 1) {
      // The results file is complete on disk wherever the user can look at it.
      FlushWorkFiles(log);
      if (log.ui.ServiceEvents()) return true;
    }
    ++index;
    std::string path = ResolveListedFile(context, name, documents);
    log.ui.AddStatusLine(std::string(status_prefix) + path);
    WriteResultsFile(log, path, false);
    if (!visit(path)) WriteResultsFile(log, ">File does not exist", false);
    WriteResultsFile(log, "", false);
  }
  return false;
}

SearchSummary DoSearch(const SearchContext& context, const SearchRequest& request) {
  const LogContext& log = context.log;
  const MacroTags& tags = context.project.tags;
  WorkFilesHold hold(log);
  std::string find_text = EffectiveFindText(request.find_text, request.definitions_only, tags);
  WriteResultsFile(log, "Searching for: \"" + find_text + "\"", true);
  WriteResultsFile(log, "", false);
  context.files.Reset();
  log.ui.ClearStatus();
  context.results.Clear();
  log.ui.AddStatusLine("Building File List...");
  if (request.documents_mode) {
    BuildDocumentFileList(context.definition, request.selection, context.files);
  } else {
    BuildProjectFileList(context.definition, context.project, request.selection, context.files);
  }

  SearchPattern pattern =
      MakeSearchPattern(find_text, request.ignore_case, request.definitions_only, tags);
  SearchSummary summary;
  summary.stopped =
      WalkListedFiles(context, request.documents_mode, "Searching: ", [&](const std::string& path) {
        return SearchOneFile(context, pattern, path, summary);
      });
  std::string closing = SearchSummaryText(summary);
  log.ui.AddStatusLine(closing);
  WriteResultsFile(log, "", false);
  WriteResultsFile(log, closing, false);
  return summary;
}

std::string SearchSummaryText(const SearchSummary& summary) {
  return std::string(summary.stopped ? "Stopped. " : "Complete. ") +
         Plural(summary.occurrences, "occurrence") + " in " +
         Plural(summary.files_with_hits, "file") + ". " + Plural(summary.files_checked, "file") +
         " checked. ";
}

}  // namespace pentrak
