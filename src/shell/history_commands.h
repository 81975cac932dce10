#pragma once

#include <string>

namespace pentrak {

struct Workbench;

// The project history file named by the current program options.
std::string HistoryPathOf(const Workbench& workbench);

// Reads the history from its file; a failure is shown through the common error report, leaves
// the history empty, and gives false.
bool ReadProjectHistoryOf(Workbench& workbench);

// Reads a project file into the current project; an empty path stands for the current history
// entry's file. Without a current entry nothing happens. A failure is reported and gives false.
bool ReadProjectFile(Workbench& workbench, const std::string& path);

// How every history command ends: the history is written and read back, and the current
// project is read again. A failure is reported and gives false.
bool SaveAndReloadProjectHistory(Workbench& workbench);

// After the program options have changed: checks the history file they name (creating a default
// one when the user agrees; importing words the question for the import) and, when it is usable,
// reads the history and the current project again. False once a refusal or failure has been
// shown.
bool CheckAndReloadProjectHistory(Workbench& workbench, bool importing);

// Makes the history entry at index the current project.
bool ChooseProject(Workbench& workbench, int index);

enum class OpenProjectOutcome { kOpened, kNotAProject, kCancelled, kFailed };

// Opens a project file as the main window does: an empty path asks for one with a file
// chooser; a file already in the history is made current; any other file is added as current
// when its project file has a name, and left alone without a word when it has none. A full
// history refuses the file with error 10003.
OpenProjectOutcome OpenProject(Workbench& workbench, const std::string& path);

// Takes the current project out of the history (its files stay) once the user agrees; the
// first remaining entry becomes current.
bool RemoveCurrentProject(Workbench& workbench);

}  // namespace pentrak
