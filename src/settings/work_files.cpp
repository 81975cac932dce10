#include "settings/work_files.h"

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text_lines.h"
#include "platform/user_interface.h"
#include "settings/default_drive.h"
#include "settings/program_options.h"
#include "settings/project_settings.h"

namespace pentrak {

namespace {

// The work folder as the project sets it, taken literally (it is expected to end with a
// separator), or the program folder's temp folder.
std::string WorkFolder(const LogContext& log, const ProjectSettings& project,
                       const std::string& program_folder) {
  if (!project.temporary_files_path.empty()) {
    return ApplyDefaultDrive(project.temporary_files_path, log.options);
  }
  return JoinPath(program_folder, "temp") + kNativeSeparator;
}

std::string GeneratedFilesList(const ProgramOptions& options, const ProjectSettings& project,
                               const std::string& work_folder) {
  const std::string& setting = project.generated_files_log_file;
  if (setting.empty()) return work_folder + "generate.txt";
  std::string path = ApplyDefaultDrive(setting, options);
  if (FolderOfPath(path) == path) path += "generate.txt";
  return path;
}

// Creates the folders along a path; a failure surfaces when the first file there is written.
void CreateFoldersQuietly(const FileSystem& fs, const std::string& path) {
  try {
    fs.CreateFolderPath(path);
  } catch (const Error&) {
  }
}

// A work file is this program's own: a link or a FIFO planted at its name is replaced, never
// written through, so the log cannot be made to overwrite a file elsewhere.
void ReplaceWithLine(const FileSystem& fs, const std::string& path, std::string_view line) {
  std::string bytes;
  AppendLine(bytes, line);
  fs.OverwriteFile(path, bytes);
}

// Drops what was gathered for a file that is about to be replaced, and the handle to it.
void Restart(WorkFileLines& lines) {
  lines.pending.clear();
  lines.file.Close();
}

// Writes a file's gathered lines, keeping it open only while the work files are held. A failure
// loses those lines and throws.
void FlushLines(const FileSystem& fs, const std::string& path, WorkFileLines& lines, bool held) {
  if (!lines.pending.empty()) {
    try {
      if (!lines.file.IsOpen()) lines.file.Open(fs, path);
      lines.file.Write(lines.pending);
    } catch (const Error&) {
      Restart(lines);
      throw;
    }
    lines.pending.clear();
  }
  if (!held) lines.file.Close();
}

// The results file and the generated-files list are by-products: losing lines must not
// interrupt the work that writes them.
void FlushQuietly(const FileSystem& fs, const std::string& path, WorkFileLines& lines, bool held) {
  try {
    FlushLines(fs, path, lines, held);
  } catch (const Error&) {
  }
}

void LogFailed(const LogContext& log) {
  WorkFiles& files = log.work_files;
  files.log_active = false;
  Restart(files.log_lines);
  log.ui.ShowMessage("Log File Error",
                     "An error occurred while writing to the log file " + files.log_file +
                         ". Logging will be turned off.",
                     Icon::kNone, Buttons::kOk);
}

void FlushLog(const LogContext& log) {
  WorkFiles& files = log.work_files;
  try {
    FlushLines(log.fs, files.log_file, files.log_lines, files.held);
  } catch (const Error&) {
    LogFailed(log);
  }
}

}  // namespace

void SetWorkFiles(const LogContext& log, const ProjectSettings& project,
                  const std::string& program_folder) {
  WorkFiles& files = log.work_files;
  files.work_folder = WorkFolder(log, project, program_folder);
  files.log_file = files.work_folder + "pentrak.txt";
  files.results_file = files.work_folder + "search.txt";
  files.generator_work_file = files.work_folder + "pentrak";
  files.replace_work_file = files.work_folder + "pentrak.rpl";
  files.generated_files_list = GeneratedFilesList(log.options, project, files.work_folder);

  CreateFoldersQuietly(log.fs, files.work_folder);
  CreateFoldersQuietly(log.fs, files.generated_files_list);
  if (!log.fs.FileExists(files.log_file)) WriteLog(log, ".", true, true);
  if (!log.fs.FileExists(files.results_file)) WriteResultsFile(log, ".", true);
  if (!log.fs.FileExists(files.generated_files_list)) {
    WriteGeneratedFilesList(log, ".", true, true);
  }
}

void WriteLog(const LogContext& log, std::string_view text, bool create, bool note_if_disabled) {
  WorkFiles& files = log.work_files;
  const bool enabled = log.options.enable_logging == 1;
  if (enabled && create) files.log_active = true;
  if (!enabled && !note_if_disabled) return;
  if (enabled && !files.log_active) return;
  if (enabled && !create) {
    AppendLine(files.log_lines.pending, text);
    if (!files.held) FlushLog(log);
    return;
  }
  Restart(files.log_lines);
  try {
    ReplaceWithLine(log.fs, files.log_file, enabled ? text : kLoggingDisabledNote);
  } catch (const Error&) {
    LogFailed(log);
  }
}

void ResumeLog(const LogContext& log) {
  WorkFiles& files = log.work_files;
  if (log.options.enable_logging == 1 && log.fs.FileExists(files.log_file)) {
    files.log_active = true;
  }
}

void WriteResultsFile(const LogContext& log, std::string_view text, bool create) {
  WorkFiles& files = log.work_files;
  if (!create) {
    AppendLine(files.results_lines.pending, text);
    if (!files.held) FlushQuietly(log.fs, files.results_file, files.results_lines, false);
    return;
  }
  Restart(files.results_lines);
  try {
    ReplaceWithLine(log.fs, files.results_file, text);
  } catch (const Error&) {
    // The results file is a convenience copy of what the status list shows.
  }
}

void WriteGeneratedFilesList(const LogContext& log, std::string_view text, bool create,
                             bool write) {
  WorkFiles& files = log.work_files;
  if (!create) {
    if (!write) return;
    AppendLine(files.generated_lines.pending, text);
    if (!files.held) {
      FlushQuietly(log.fs, files.generated_files_list, files.generated_lines, false);
    }
    return;
  }
  Restart(files.generated_lines);
  try {
    if (write) {
      ReplaceWithLine(log.fs, files.generated_files_list, text);
    } else {
      log.fs.OverwriteFile(files.generated_files_list, "");
    }
  } catch (const Error&) {
    // The list is a by-product of the run; losing a line must not interrupt it.
  }
}

void FlushWorkFiles(const LogContext& log) {
  WorkFiles& files = log.work_files;
  FlushLog(log);
  FlushQuietly(log.fs, files.results_file, files.results_lines, files.held);
  FlushQuietly(log.fs, files.generated_files_list, files.generated_lines, files.held);
}

WorkFilesHold::WorkFilesHold(const LogContext& log) : log_(log), was_held_(log.work_files.held) {
  log.work_files.held = true;
}

WorkFilesHold::~WorkFilesHold() {
  log_.work_files.held = was_held_;
  FlushWorkFiles(log_);
}

}  // namespace pentrak
