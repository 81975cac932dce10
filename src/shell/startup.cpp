#include "shell/startup.h"

#include <vector>

#include "generation/command_line.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "settings/display_settings_file.h"
#include "settings/program_options_file.h"
#include "settings/project_history.h"
#include "settings/settings_text.h"
#include "shell/history_commands.h"
#include "shell/program_folder.h"
#include "shell/project_loading.h"
#include "shell/workbench.h"

namespace pentrak {

namespace {

// Runs one start-up step; a failure is reported and gives false.
template <typename Step>
bool Reported(UserInterface& ui, Step step) {
  try {
    step();
  } catch (const Error& error) {
    ReportError(ui, error);
    return false;
  }
  return true;
}

void ReadDisplaySettingsOf(Workbench& workbench) {
  EnsureDisplaySettingsFile(workbench.fs, workbench.program_folder, workbench.display);
  Reported(workbench.ui,
           [&] { ReadDisplaySettings(workbench.fs, workbench.program_folder, workbench.display); });
}

// A headless first run creates the program options file without asking.
bool CreateProgramOptionsFile(Workbench& workbench, std::vector<std::string>& created) {
  std::string path = DefaultProgramOptionsPath(workbench.program_folder);
  if (workbench.fs.FileExists(path)) return true;
  created.push_back(path);
  return Reported(workbench.ui, [&] {
    SetProgramOptionDefaults(workbench.options, workbench.program_folder);
    WriteProgramOptions(workbench.fs, workbench.program_folder, "", workbench.options);
  });
}

// A headless first run creates the project history file without asking.
bool CreateProjectHistoryFile(Workbench& workbench, std::vector<std::string>& created) {
  std::string path = HistoryPathOf(workbench);
  if (workbench.fs.FileExists(path)) return true;
  created.push_back(path);
  return Reported(workbench.ui, [&] {
    CreateDefaultProjectHistory(workbench.history, workbench.program_folder);
    WriteProjectHistory(workbench.fs, path, workbench.history);
  });
}

void NoteCreatedFiles(UserInterface& ui, const std::vector<std::string>& created) {
  if (created.empty()) return;
  std::string text = "Created ";
  for (std::size_t i = 0; i < created.size(); ++i) {
    if (i > 0) text += " and ";
    text += created[i];
  }
  text += " with their defaults.";
  ui.ShowMessage("Pentrak CMS", text, Icon::kInformation, Buttons::kOk);
}

bool LoadOptions(Workbench& workbench, const StartUpOptions& options,
                 std::vector<std::string>& created) {
  if (options.create_files_silently && !CreateProgramOptionsFile(workbench, created)) return false;
  if (!CheckProgramOptionsFile(workbench.ui, workbench.fs, workbench.program_folder, "", false,
                               workbench.options)) {
    return false;
  }
  return LoadProgramOptions(workbench);
}

bool LoadHistory(Workbench& workbench, const StartUpOptions& options,
                 std::vector<std::string>& created) {
  EnsureSampleProject(workbench.ui, workbench.fs, workbench.program_folder, workbench.project);
  if (options.create_files_silently && !CreateProjectHistoryFile(workbench, created)) return false;
  if (!CheckProjectHistoryFile(workbench.ui, workbench.fs, HistoryPathOf(workbench),
                               workbench.program_folder, false, workbench.history)) {
    return false;
  }
  // A history that cannot be read has been reported and is empty; the program goes on.
  ReadProjectHistoryOf(workbench);
  return true;
}

}  // namespace

bool StartUp(Workbench& workbench, const StartUpOptions& options) {
  if (!Reported(workbench.ui, [&] {
        SeedProgramFolder(workbench.fs, workbench.program_folder, options.seed_folder);
      })) {
    return false;
  }
  ReadDisplaySettingsOf(workbench);
  workbench.batch = ParseCommandLine(options.command_line);
  std::vector<std::string> created;
  bool loaded =
      LoadOptions(workbench, options, created) && LoadHistory(workbench, options, created);
  NoteCreatedFiles(workbench.ui, created);
  if (!loaded) return false;
  ReadProjectFile(workbench, "");
  return true;
}

namespace {

// Why a path given as a project file gave no project name.
std::string NotAProjectReason(const FileSystem& fs, const std::string& path) {
  if (fs.FolderExists(path)) return "The project file " + path + " is a folder.";
  if (!fs.FileExists(path)) return "The project file " + path + " does not exist.";
  try {
    LoadSettingsText(fs, path);
  } catch (const Error& error) {
    if (error.description().find(path) != std::string::npos) return error.description() + ".";
    return "The project file " + path + " cannot be read. " + error.description() + ".";
  }
  return "The file " + path + " is not a valid Project file.";
}

}  // namespace

bool OpenProjectFile(Workbench& workbench, const std::string& project_path) {
  std::string path = AbsolutePath(project_path);
  switch (OpenProject(workbench, path)) {
    case OpenProjectOutcome::kOpened:
      // A project already in the history is made current without a look at its file; when
      // that file has gone or cannot be read, reading the history puts another project in its
      // place, and a command must not quietly work on that one.
      if (workbench.project.project_file_path == path) return true;
      [[fallthrough]];
    case OpenProjectOutcome::kNotAProject:
      // The main window stops without a word; a front end without a window must say why.
      workbench.ui.ShowMessage("Open Project", NotAProjectReason(workbench.fs, path),
                               Icon::kExclamation, Buttons::kOk);
      return false;
    case OpenProjectOutcome::kCancelled:
    case OpenProjectOutcome::kFailed:
      return false;
  }
  return false;
}

}  // namespace pentrak
