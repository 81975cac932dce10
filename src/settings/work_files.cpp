#include "settings/work_files.h"

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/paths.h"
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

void ReplaceWithLine(const FileSystem& fs, const std::string& path, std::string_view line) {
  fs.WriteLines(path, {std::string(line)});
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
  try {
    if (enabled) {
      if (!files.log_active) return;
      if (create) {
        ReplaceWithLine(log.fs, files.log_file, text);
      } else {
        log.fs.AppendLine(files.log_file, text);
      }
    } else if (note_if_disabled) {
      ReplaceWithLine(log.fs, files.log_file, kLoggingDisabledNote);
    }
  } catch (const Error&) {
    files.log_active = false;
    log.ui.ShowMessage("Log File Error",
                       "An error occurred while writing to the log file " + files.log_file +
                           ". Logging will be turned off.",
                       Icon::kNone, Buttons::kOk);
  }
}

void WriteResultsFile(const LogContext& log, std::string_view text, bool create) {
  try {
    if (create) {
      ReplaceWithLine(log.fs, log.work_files.results_file, text);
    } else {
      log.fs.AppendLine(log.work_files.results_file, text);
    }
  } catch (const Error&) {
    // The results file is a convenience copy of what the status list shows.
  }
}

void WriteGeneratedFilesList(const LogContext& log, std::string_view text, bool create,
                             bool write) {
  const std::string& path = log.work_files.generated_files_list;
  try {
    if (create && write) {
      ReplaceWithLine(log.fs, path, text);
    } else if (create) {
      log.fs.WriteFile(path, "");
    } else if (write) {
      log.fs.AppendLine(path, text);
    }
  } catch (const Error&) {
    // The list is a by-product of the run; losing a line must not interrupt it.
  }
}

}  // namespace pentrak
