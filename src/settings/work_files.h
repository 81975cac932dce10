#pragma once

#include <string>
#include <string_view>

#include "platform/append_file.h"

namespace pentrak {

class FileSystem;
class UserInterface;
struct ProgramOptions;
struct ProjectSettings;

// Lines bound for one work file: gathered while the work files are held, with the file kept
// open between flushes.
struct WorkFileLines {
  std::string pending;
  AppendFile file;
};

// The work folder's files and the log state, set by SetWorkFiles.
struct WorkFiles {
  std::string work_folder;           // ends with a separator
  std::string log_file;              // work folder + "pentrak.txt"
  std::string results_file;          // work folder + "search.txt"
  std::string generator_work_file;   // work folder + "pentrak"; pass n writes "pentrak.<n>"
  std::string replace_work_file;     // work folder + "pentrak.rpl"
  std::string generated_files_list;  // "generate.txt" or the project's generated-files-log-file
  bool log_active = false;           // appends are dropped while false
  bool held = false;                 // see WorkFilesHold
  WorkFileLines log_lines;
  WorkFileLines results_lines;
  WorkFileLines generated_lines;
};

// What a log write needs: the paths and state, the file system, the seam for the
// "Log File Error" message, and the program options (enable-logging).
struct LogContext {
  WorkFiles& work_files;
  const FileSystem& fs;
  UserInterface& ui;
  const ProgramOptions& options;
};

// Computes the work-file paths for the current project and creates what is missing.
void SetWorkFiles(const LogContext& log, const ProjectSettings& project,
                  const std::string& program_folder);

// What the log holds once logging has been switched off.
inline constexpr std::string_view kLoggingDisabledNote =
    "Logging may be disabled. You can enable logging in the Tools->Options screen.";

// Detail lines of the log (skips, notes, warnings, errors) start with ten blanks.
inline constexpr std::string_view kLogIndent = "          ";

// Writes one line to the generation log (create replaces the file).
void WriteLog(const LogContext& log, std::string_view text, bool create = false,
              bool note_if_disabled = false);

// Lets lines be appended to the log of the last run again, for work that adds its own section
// to it (a publish after the generation it publishes); nothing changes when logging is off or
// there is no log file.
void ResumeLog(const LogContext& log);

// Writes one line to the search results file; failures are quiet.
void WriteResultsFile(const LogContext& log, std::string_view text, bool create);

// Writes one line to the generated-files list (only when write is true); failures are quiet.
void WriteGeneratedFilesList(const LogContext& log, std::string_view text, bool create, bool write);

// Writes the lines the log, the results file and the generated-files list have gathered. A
// holder calls it wherever a person can look at the files: where the user interface is
// serviced, before a question or message, and at the end.
void FlushWorkFiles(const LogContext& log);

// While it lives, lines for the work files are gathered and the files stay open, so that a run
// or a search writing thousands of lines opens each file once; its end flushes and closes them.
// Without a hold every line is written, and its file closed, at once.
class WorkFilesHold {
 public:
  explicit WorkFilesHold(const LogContext& log);
  ~WorkFilesHold();
  WorkFilesHold(const WorkFilesHold&) = delete;
  WorkFilesHold& operator=(const WorkFilesHold&) = delete;

 private:
  const LogContext& log_;
  bool was_held_;
};

}  // namespace pentrak
