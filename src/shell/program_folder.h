#pragma once

#include <string>

namespace pentrak {

class FileSystem;

// What the choice of the program folder depends on, gathered by main so that nothing below
// reads the environment.
struct ProgramFolderInputs {
  std::string home_option;      // --home DIR; empty when not given
  std::string executable_path;  // the running program's own file
  std::string xdg_data_home;    // $XDG_DATA_HOME
  std::string user_home;        // $HOME
  std::string share_folder;     // where an install keeps the seed files
};

// The inputs from this process's environment.
ProgramFolderInputs ProgramFolderInputsFromEnvironment(std::string home_option,
                                                       std::string executable_path);

// The folder that holds the settings files, the history, the samples and the work files:
// --home DIR; else the executable's folder when it is writable and holds samples/ (a build tree
// or a portable install); else $XDG_DATA_HOME/pentrak or ~/.local/share/pentrak. Throws Error
// when none can be named.
std::string ChooseProgramFolder(const FileSystem& fs, const ProgramFolderInputs& inputs);

// The folder whose samples/ seed a program folder: the executable's own when it holds samples/,
// else the installed share folder; "" when neither does.
std::string FindSeedFolder(const FileSystem& fs, const ProgramFolderInputs& inputs);

// Creates the program folder when missing and copies every seed file it lacks: the new-project
// samples into samples/ and the sample project's sources (samples/overview/) into overview/.
// Existing files are never overwritten.
void SeedProgramFolder(const FileSystem& fs, const std::string& program_folder,
                       const std::string& seed_folder);

// Chooses the program folder, creates and seeds it, and returns it.
std::string PrepareProgramFolder(const FileSystem& fs, const ProgramFolderInputs& inputs);

}  // namespace pentrak
