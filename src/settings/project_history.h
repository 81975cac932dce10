#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pentrak {

class FileSystem;
class UserInterface;
struct ProgramOptions;
struct ProjectSettings;

// The status of a history entry.
inline constexpr short kHistoryDropped = 0;  // not written again
inline constexpr short kHistoryKnown = 1;
inline constexpr short kHistoryCurrent = 2;

// One known project. Its name is not stored in the history file but read from the project
// file whenever the history is read.
struct ProjectHistoryEntry {
  std::string name;
  std::string project_file;
  short status = kHistoryDropped;
};

// The list of known projects with the current one, in exactly maximum-projects slots.
struct ProjectHistory {
  std::vector<ProjectHistoryEntry> entries;
  int last_index = -1;     // last used slot; -1 when the history is empty
  int current_index = -1;  // the current project's slot; -1 when there is none
};

// The history file: the project-file option with the default drive applied, or program
// folder + "projects.ini" when that is empty.
std::string ProjectHistoryPath(const ProgramOptions& options, const std::string& program_folder);

// program folder + "overview" + "Pentrak CMS Overview.web".
std::string SampleProjectPath(const std::string& program_folder);

// Gives the table maximum_projects slots; the entries that still fit keep their contents.
void ResizeProjectHistory(ProjectHistory& history, short maximum_projects);

// Empties every slot and sets the last index to -1.
void ClearProjectHistory(ProjectHistory& history);

// A history whose only entry is the sample project, current.
void CreateDefaultProjectHistory(ProjectHistory& history, const std::string& program_folder);

// Turns every current mark into a plain known one.
void ClearCurrentProjectMark(ProjectHistory& history);

// The first used slot whose project file is exactly path, or -1.
int FindProjectInHistory(const ProjectHistory& history, std::string_view path);

// Whether the history file may be read. A missing file is created with the default history
// when the user agrees, and a file holding "." is silently replaced by it; importing changes the
// wording. Every message goes through ui; a failed write is reported there and gives false.
bool CheckProjectHistoryFile(UserInterface& ui, const FileSystem& fs,
                             const std::string& history_path, const std::string& program_folder,
                             bool importing, ProjectHistory& history);

// Fills the history from its file, reading each project's name from its project file (an entry
// without a readable name is dropped), and sets the current index. Throws "Error reading
// Project History file " + path + ". ..." with the history left empty and the current index
// as it was.
void ReadProjectHistory(const FileSystem& fs, const std::string& history_path,
                        const std::string& current_project_path, ProjectHistory& history);

// Writes every entry that is not dropped, replacing the file; throws "Error writing to Project
// History file " + path + ". ...".
void WriteProjectHistory(const FileSystem& fs, const std::string& history_path,
                         const ProjectHistory& history);

// The first sentence of error 10003, for the command that was refused.
inline constexpr std::string_view kNewProjectRefused = "Could not create new project.";
inline constexpr std::string_view kOpenProjectRefused = "Could not open project.";

// Throws error 10003, refused_action + " Maximum number of projects exceeded.", when the
// history has no free slot for another project.
void CheckRoomInProjectHistory(const ProjectHistory& history, std::string_view refused_action);

// Appends a project as the current one; when the history is full, throws error 10003 as
// CheckRoomInProjectHistory does and changes nothing.
void AddProjectToHistory(ProjectHistory& history, const std::string& name,
                         const std::string& project_file, std::string_view refused_action);

// Recreates the sample project file when it has no readable name, and leaves the project
// record naming it. A failed write is reported through ui.
void EnsureSampleProject(UserInterface& ui, const FileSystem& fs, const std::string& program_folder,
                         ProjectSettings& project);

}  // namespace pentrak
