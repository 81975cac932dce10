#include "settings/project_history.h"

#include <algorithm>

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text_lines.h"
#include "platform/user_interface.h"
#include "settings/default_drive.h"
#include "settings/program_options.h"
#include "settings/project_file.h"
#include "settings/project_settings.h"
#include "settings/settings_text.h"

namespace pentrak {

namespace {

constexpr std::string_view kHistoryVersion = "5";
constexpr std::string_view kSampleProjectName = "Pentrak CMS Overview (Sample)";
constexpr char kCr = '\r';

// Field n (from 1) of a history line, trimmed; "" beyond the last one.
std::string_view HistoryField(std::string_view line, int n) {
  std::size_t start = 0;
  for (int i = 1; i < n; ++i) {
    std::size_t bar = line.find('|', start);
    if (bar == std::string_view::npos) return {};
    start = bar + 1;
  }
  std::size_t end = line.find('|', start);
  if (end == std::string_view::npos) end = line.size();
  return TrimBlanks(line.substr(start, end - start));
}

std::string SampleFolder(const std::string& program_folder) {
  return JoinPath(JoinPath(program_folder, "overview"), "");
}

// Writes the default history; a failure is reported and gives false.
bool WriteDefaultHistory(UserInterface& ui, const FileSystem& fs, const std::string& history_path,
                         const std::string& program_folder, ProjectHistory& history) {
  CreateDefaultProjectHistory(history, program_folder);
  try {
    WriteProjectHistory(fs, history_path, history);
  } catch (const Error& error) {
    ReportError(ui, error);
    return false;
  }
  return true;
}

bool OfferDefaultHistory(UserInterface& ui, const FileSystem& fs, const std::string& history_path,
                         const std::string& program_folder, bool importing,
                         ProjectHistory& history) {
  std::string text = "The Project History file could not be found.";
  text += kCr;
  text += "A default Project History file will be created at " + history_path + ".";
  text += kCr;
  text += importing ? "Press OK to create the file or press Cancel to select another option."
                    : "Press OK to create the file or press Cancel to exit the program.";
  Answer answer = ui.ShowMessage("Create Default Project History File", text, Icon::kQuestion,
                                 Buttons::kOkCancel);
  if (answer != Answer::kOk) return false;
  return WriteDefaultHistory(ui, fs, history_path, program_folder, history);
}

void RefuseUnknownHistory(UserInterface& ui, const std::string& history_path, bool importing) {
  std::string text = "Pentrak does not recognize your Project History File. ";
  text += importing
              ? "Please make sure that the file you are attempting to import is a valid Project "
                "History File."
              : "To correct this error, rename " + history_path + " and restart the program.";
  ui.ShowMessage("Project History File Error", text, Icon::kExclamation, Buttons::kOk);
}

int SlotCount(const ProjectHistory& history) { return static_cast<int>(history.entries.size()); }

}  // namespace

std::string ProjectHistoryPath(const ProgramOptions& options, const std::string& program_folder) {
  std::string path = ApplyDefaultDrive(options.project_history_file, options);
  if (path.empty()) return JoinPath(program_folder, "projects.ini");
  return path;
}

std::string SampleProjectPath(const std::string& program_folder) {
  return SampleFolder(program_folder) + "Pentrak CMS Overview.web";
}

void ResizeProjectHistory(ProjectHistory& history, short maximum_projects) {
  int slots = std::max<int>(maximum_projects, 0);
  history.entries.resize(static_cast<std::size_t>(slots));
  history.last_index = std::min(history.last_index, slots - 1);
  if (history.current_index > history.last_index) history.current_index = -1;
}

void ClearProjectHistory(ProjectHistory& history) {
  for (ProjectHistoryEntry& entry : history.entries) entry = ProjectHistoryEntry{};
  history.last_index = -1;
}

void CreateDefaultProjectHistory(ProjectHistory& history, const std::string& program_folder) {
  ClearProjectHistory(history);
  if (history.entries.empty()) return;
  history.entries[0].project_file = SampleProjectPath(program_folder);
  history.entries[0].status = kHistoryCurrent;
  history.last_index = 0;
}

void ClearCurrentProjectMark(ProjectHistory& history) {
  for (ProjectHistoryEntry& entry : history.entries) {
    if (entry.status == kHistoryCurrent) entry.status = kHistoryKnown;
  }
}

int FindProjectInHistory(const ProjectHistory& history, std::string_view path) {
  for (int i = 0; i <= history.last_index; ++i) {
    if (history.entries[static_cast<std::size_t>(i)].project_file == path) return i;
  }
  return -1;
}

bool CheckProjectHistoryFile(UserInterface& ui, const FileSystem& fs,
                             const std::string& history_path, const std::string& program_folder,
                             bool importing, ProjectHistory& history) {
  std::string bytes;
  try {
    bytes = fs.ReadBoundedFile(history_path, kMaxSettingsFileBytes);
  } catch (const Error&) {
    return OfferDefaultHistory(ui, fs, history_path, program_folder, importing, history);
  }
  if (bytes.empty()) return true;
  std::string_view first_line;
  LineCursor(bytes).Next(first_line);
  std::string_view version = HistoryField(first_line, 1);
  if (version == kHistoryVersion || version == "5.0") return true;
  if (first_line == ".") {
    return WriteDefaultHistory(ui, fs, history_path, program_folder, history);
  }
  RefuseUnknownHistory(ui, history_path, importing);
  return false;
}

void ReadProjectHistory(const FileSystem& fs, const std::string& history_path,
                        const std::string& current_project_path, ProjectHistory& history) {
  ClearProjectHistory(history);
  int taken = 0;
  try {
    std::string bytes = fs.ReadBoundedFile(history_path, kMaxSettingsFileBytes);
    LineCursor cursor(bytes);
    std::string_view line;
    while (taken < SlotCount(history) && cursor.Next(line)) {
      ProjectHistoryEntry& entry = history.entries[static_cast<std::size_t>(taken)];
      entry.project_file = HistoryField(line, 2);
      entry.status = SettingInteger(HistoryField(line, 3), "the project status");
      ++taken;
    }
  } catch (const Error& error) {
    throw FileError(error, "Error reading Project History file ", history_path);
  }
  history.last_index = taken - 1;
  history.current_index = -1;
  if (taken == 0) return;
  for (int i = 0; i < taken; ++i) {
    ProjectHistoryEntry& entry = history.entries[static_cast<std::size_t>(i)];
    entry.name = GetFileSettingValue(fs, entry.project_file, "name", current_project_path);
    if (entry.name.empty()) entry.status = kHistoryDropped;
    if (entry.status == kHistoryCurrent) history.current_index = i;
  }
  if (history.current_index == -1) history.current_index = 0;
}

void WriteProjectHistory(const FileSystem& fs, const std::string& history_path,
                         const ProjectHistory& history) {
  std::vector<std::string> lines;
  for (int i = 0; i <= history.last_index; ++i) {
    const ProjectHistoryEntry& entry = history.entries[static_cast<std::size_t>(i)];
    if (entry.status <= kHistoryDropped) continue;
    lines.push_back(std::string(kHistoryVersion) + "|" + entry.project_file + "|" +
                    std::to_string(entry.status));
  }
  try {
    fs.WriteLines(history_path, lines);
  } catch (const Error& error) {
    throw FileError(error, "Error writing to Project History file ", history_path);
  }
}

void CheckRoomInProjectHistory(const ProjectHistory& history, std::string_view refused_action) {
  if (history.last_index + 1 < SlotCount(history)) return;
  throw Error(kErrorHistoryFull,
              std::string(refused_action) + " Maximum number of projects exceeded.");
}

void AddProjectToHistory(ProjectHistory& history, const std::string& name,
                         const std::string& project_file, std::string_view refused_action) {
  CheckRoomInProjectHistory(history, refused_action);
  ClearCurrentProjectMark(history);
  ++history.last_index;
  ProjectHistoryEntry& entry = history.entries[static_cast<std::size_t>(history.last_index)];
  entry.name = name;
  entry.project_file = project_file;
  entry.status = kHistoryCurrent;
}

void EnsureSampleProject(UserInterface& ui, const FileSystem& fs, const std::string& program_folder,
                         ProjectSettings& project) {
  project.project_file_path = SampleProjectPath(program_folder);
  if (!GetFileSettingValue(fs, project.project_file_path, "name", project.project_file_path)
           .empty()) {
    return;
  }
  std::string folder = SampleFolder(program_folder);
  SetNewProjectDefaults(project);
  project.name = kSampleProjectName;
  project.document_root = folder;
  project.content_root = folder;
  project.definition_file = folder + "overview.txt";
  project.max_globals = 2;
  // The sample shows a project macro file and per-document optimization flags at work.
  project.project_macro_file = "site.par";
  project.optimization_status = 2;
  try {
    fs.CreateFolderPath(folder);
    WriteProjectFile(fs, project);
  } catch (const Error& error) {
    ReportError(ui, error);
  }
}

}  // namespace pentrak
