#pragma once

#include <string>
#include <string_view>

namespace pentrak {

class FileSystem;
class UserInterface;
struct ProgramOptions;
struct ProjectSettings;

// The work folder's files and the log state, set by SetWorkFiles.
struct WorkFiles {
  std::string work_folder;           // ends with a separator
  std::string log_file;              // work folder + "pentrak.txt"
  std::string results_file;          // work folder + "search.txt"
  std::string generator_work_file;   // work folder + "pentrak"; pass n writes "pentrak.<n>"
  std::string replace_work_file;     // work folder + "pentrak.rpl"
  std::string generated_files_list;  // "generate.txt" or the project's generated-files-log-file
  bool log_active = false;           // appends are dropped while false
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

// Writes one line to the search results file; failures are quiet.
void WriteResultsFile(const LogContext& log, std::string_view text, bool create);

// Writes one line to the generated-files list (only when write is true); failures are quiet.
void WriteGeneratedFilesList(const LogContext& log, std::string_view text, bool create, bool write);

}  // namespace pentrak
