#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "search/search.h"

namespace pentrak {

class FileSystem;
class UserInterface;

struct ReplaceRequest {
  std::string find_text;
  std::string replacement;
  bool ignore_case = false;
  bool detailed = false;  // fill the detailed results
  FileSelection selection;
};

// The counters of one replace run.
struct ReplaceSummary {
  int files_checked = 0;
  int files_changed = 0;
  int replacements = 0;
  int read_only_occurrences = 0;  // found in read-only files, not replaced
  int read_only_files_with_hits = 0;
  int read_only_files = 0;
  bool stopped = false;
  bool cancelled = false;  // the confirmation was not answered OK
};

// Replaces every occurrence of find in line (or only counts them) and returns their number. The
// search goes on after the inserted replacement, so a replacement holding find is never replaced
// again. An empty find yields 0.
int ReplaceInLine(std::string& line, std::string_view find, std::string_view replacement,
                  bool ignore_case, bool count_only);

// Reads the file once and, unless read_only, writes the processed lines over it (atomically: a
// failed write leaves the old content in place, and work_file holds a copy of it). Every line
// is written with CR LF; a file that this leaves unchanged is not written. Lines with hits go to
// details when it is given. Returns the number of occurrences.
int ReplaceInFile(const FileSystem& fs, const std::string& work_file, const std::string& path,
                  std::string_view find, std::string_view replacement, bool ignore_case,
                  bool read_only, ResultsView* details);

// The question asked before a replace run.
std::string ReplaceQuestion(std::string_view find, std::string_view replacement);

// Asks for confirmation, then replaces across the project files chosen by the request, leaving
// read-only files untouched; reports in the status, the results views and "search.txt".
ReplaceSummary DoReplace(const SearchContext& context, const ReplaceRequest& request);

// The summary lines of a replace run, in order.
std::vector<std::string> ReplaceSummaryLines(const ReplaceSummary& summary);

// Repairs the line endings of one file: every carriage return inside a line becomes CR LF.
// Reports in the status. Returns the number of carriage returns replaced, or nothing when the
// file is missing or read-only.
std::optional<int> FixLineEndings(const FileSystem& fs, UserInterface& ui,
                                  const std::string& work_file, const std::string& path);

}  // namespace pentrak
