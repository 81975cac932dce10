#pragma once

#include <span>
#include <string>

#include "settings/setting_keys.h"

namespace pentrak {

class FileSystem;
class UserInterface;
struct ProgramOptions;

// program folder + separator + "pentrak.ini", the file an empty path stands for.
std::string DefaultProgramOptionsPath(const std::string& program_folder);

// The options of a first run (the history file is program folder + separator + "projects.ini").
void SetProgramOptionDefaults(ProgramOptions& options, const std::string& program_folder);

// The keys of "pentrak.ini" in file order, each with where its value lives in the record.
std::span<const SettingKey<ProgramOptions>> ProgramOptionKeys();

// Whether the program options file may be read. A missing file is created with the first-run
// options when the user agrees, and a file holding "." is silently reset; importing forbids
// both and words the messages for the import. Every message goes through ui; a failure to
// create the file is reported there too, and gives false.
bool CheckProgramOptionsFile(UserInterface& ui, const FileSystem& fs,
                             const std::string& program_folder, const std::string& path,
                             bool importing, ProgramOptions& options);

// Fills the options from the file (empty path: the default file). On failure throws
// "Error reading Program Data file " + path + ". ..."; the keys read before the bad one keep
// their new values. Resizing the history and setting up the work files are the caller's.
void ReadProgramOptions(const FileSystem& fs, const std::string& program_folder,
                        const std::string& path, ProgramOptions& options);

// Writes the 45 lines of the options file, replacing it (empty path: the default file); throws
// "Error writing to Program Data file " + path + ". ...".
void WriteProgramOptions(const FileSystem& fs, const std::string& program_folder,
                         const std::string& path, const ProgramOptions& options);

}  // namespace pentrak
