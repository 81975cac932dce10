#include "search/replace.h"

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/leftover_sweep.h"
#include "platform/text_finder.h"
#include "platform/text_lines.h"
#include "platform/user_interface.h"
#include "search/search_file_list.h"
#include "settings/work_files.h"

namespace pentrak {

namespace {

// Where the tool came from every rewritten line ends in CR LF and a last line without an ending
// gains one; on POSIX a line keeps the ending it had, so a replace neither turns an LF file
// into CR LF nor touches a file in which it changes nothing.
#ifdef _WIN32
inline constexpr bool kLinesKeepTheirEndings = false;
#else
inline constexpr bool kLinesKeepTheirEndings = true;
#endif

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// Replaces in one listed file and reports it; the file exists.
void ReplaceOneFile(const SearchContext& context, const ReplaceRequest& request,
                    const std::string& path, ReplaceSummary& summary) {
  const LogContext& log = context.log;
  ++summary.files_checked;
  bool read_only = log.fs.IsReadOnly(path);
  if (read_only) ++summary.read_only_files;
  int found = ReplaceInFile(log.fs, log.work_files.replace_work_file, path, request.find_text,
                            request.replacement, request.ignore_case, read_only,
                            request.detailed ? &context.results : nullptr);
  if (found == 0) {
    WriteResultsFile(log, ">Not found", false);
    return;
  }
  std::string line;
  if (read_only) {
    ++summary.read_only_files_with_hits;
    summary.read_only_occurrences += found;
    line = Plural(found, "occurrence") + " found in read-only file. Not replaced.";
  } else {
    ++summary.files_changed;
    summary.replacements += found;
    line = Plural(found, "replacement") + " made.";
  }
  log.ui.AddStatusLine(line);
  WriteResultsFile(log, ">" + line, false);
  context.results.AddResult(path, found);
}

}  // namespace

int ReplaceInLine(std::string& line, std::string_view find, std::string_view replacement,
                  bool ignore_case, bool count_only) {
  if (find.empty()) return 0;
  int count = 0;
  std::size_t position = 0;
  for (;;) {
    std::size_t found = FindText(line, find, position, ignore_case);
    if (found == std::string::npos) break;
    ++count;
    if (count_only) {
      position = found + find.size();
    } else {
      line.replace(found, find.size(), replacement);
      position = found + replacement.size();
    }
  }
  return count;
}

int ReplaceInFile(const FileSystem& fs, const std::string& work_file, const std::string& path,
                  std::string_view find, std::string_view replacement, bool ignore_case,
                  bool read_only, ResultsView* details) {
  const std::string original = fs.ReadFile(path);
  TextFinder finder(find, ignore_case);
  FindsInText finds(original, finder);
  bool more = finds.Next();
  std::string rewritten;
  if (!read_only) rewritten.reserve(original.size() + original.size() / 8);
  LineCursor cursor(original);
  std::string_view line;
  int line_number = 0;
  int total = 0;
  while (cursor.Next(line)) {
    ++line_number;
    const std::size_t start = static_cast<std::size_t>(line.data() - original.data());
    const std::size_t end = start + line.size();
    const std::size_t rewritten_start = rewritten.size();
    std::size_t copied_to = start;
    int count = 0;
    for (; more && finds.position() < end; more = finds.Next()) {
      ++count;
      if (!read_only) {
        rewritten.append(original, copied_to, finds.position() - copied_to).append(replacement);
      }
      copied_to = finds.position() + find.size();
    }
    total += count;
    if (!read_only) rewritten.append(original, copied_to, end - copied_to);
    if (count > 0 && details != nullptr) {
      std::string text = read_only ? std::string(line) : rewritten.substr(rewritten_start);
      details->AddDetail({path, line_number, count, std::move(text)});
    }
    if (read_only) continue;
    if (kLinesKeepTheirEndings) {
      rewritten.append(original, end, cursor.position() - end);
    } else {
      rewritten.append(kCrLf);
    }
  }
  // A file that would come out byte for byte the same is left alone, its time stamp too, so a
  // replace does not make every document of the project out of date.
  if (read_only || rewritten == original) return total;
  // The work file keeps the previous content should the rewrite fail.
  try {
    fs.OverwriteFile(work_file, original);
  } catch (const Error& error) {
    throw FileError(error, "Error copying file ", path + " to " + work_file);
  }
  try {
    fs.WriteFile(path, rewritten);
  } catch (const Error& error) {
    throw FileError(error, "Error rewriting file ", path);
  }
  return total;
}

std::string ReplaceQuestion(std::string_view find, std::string_view replacement) {
  return "Are you sure you want to replace " + Quoted(find) + " with " + Quoted(replacement) + "?";
}

ReplaceSummary DoReplace(const SearchContext& context, const ReplaceRequest& request) {
  const LogContext& log = context.log;
  ReplaceSummary summary;
  Answer answer =
      log.ui.ShowMessage("Confirm Replace", ReplaceQuestion(request.find_text, request.replacement),
                         Icon::kQuestion, Buttons::kOkCancel);
  if (answer != Answer::kOk) {
    summary.cancelled = true;
    return summary;
  }
  WorkFilesHold hold(log);
  WriteResultsFile(
      log, "Replacing: " + Quoted(request.find_text) + " with: " + Quoted(request.replacement),
      true);
  WriteResultsFile(log, "", false);
  context.files.Reset();
  log.ui.ClearStatus();
  context.results.Clear();
  log.ui.AddStatusLine("Building File List...");
  BuildProjectFileList(context.definition, context.project, request.selection, context.files);

  // A replace killed half-way leaves its hidden temporary file beside the source it rewrote.
  LeftoverSweep sweep;
  summary.stopped = WalkListedFiles(context, false, "Processing: ", [&](const std::string& path) {
    if (!context.log.fs.FileExists(path)) return false;
    sweep.Visit(context.log.fs, path);
    ReplaceOneFile(context, request, path, summary);
    return true;
  });
  WriteResultsFile(log, "", false);
  for (const std::string& line : ReplaceSummaryLines(summary)) {
    log.ui.AddStatusLine(line);
    WriteResultsFile(log, line, false);
  }
  return summary;
}

std::vector<std::string> ReplaceSummaryLines(const ReplaceSummary& summary) {
  std::vector<std::string> lines;
  lines.push_back(std::string(summary.stopped ? "Stopped. " : "Complete. ") +
                  Plural(summary.replacements, "replacement") + " in " +
                  Plural(summary.files_changed, "file") + ". ");
  if (summary.read_only_occurrences > 0) {
    lines.push_back(Plural(summary.read_only_occurrences, "occurrence") + " in " +
                    Plural(summary.read_only_files_with_hits, "read-only file") + " not replaced.");
  }
  std::string checked = Plural(summary.files_checked, "file") + " checked";
  if (summary.read_only_files == 0) {
    checked += ".";
  } else {
    checked += " (" + Plural(summary.read_only_files, "read-only file") + ").";
  }
  lines.push_back(checked);
  return lines;
}

std::optional<int> FixLineEndings(const FileSystem& fs, UserInterface& ui,
                                  const std::string& work_file, const std::string& path) {
  ui.AddStatusLine("Processing File: " + path);
  if (!fs.FileExists(path)) {
    ui.AddStatusLine("File does not exist.");
    return std::nullopt;
  }
  if (fs.IsReadOnly(path)) {
    ui.AddStatusLine("File is read-only and could not be fixed.");
    return std::nullopt;
  }
  LeftoverSweep().Visit(fs, path);
  int replaced = ReplaceInFile(fs, work_file, path, "\r", kCrLf, false, false, nullptr);
  ui.AddStatusLine("File fixed. " + Plural(replaced, "occurrence") + " replaced.");
  return replaced;
}

}  // namespace pentrak
