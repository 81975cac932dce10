#pragma once

#include <string>

namespace pentrak {

class FileSystem;
struct DisplaySettings;

// program folder + separator + "ui.ini".
std::string DisplaySettingsPath(const std::string& program_folder);

// Makes sure "ui.ini" exists and is usable: a missing file, or one whose first line is ".", is
// replaced by six switches at 0 (which the record then holds). Never fails.
void EnsureDisplaySettingsFile(const FileSystem& fs, const std::string& program_folder,
                               DisplaySettings& display);

// Reads the six switches (0 when missing); throws "Error reading UI configuration file " +
// path + ". ..." with the switches before the bad one read.
void ReadDisplaySettings(const FileSystem& fs, const std::string& program_folder,
                         DisplaySettings& display);

// Writes the six switches; a file that cannot be written is left alone without a word.
void WriteDisplaySettings(const FileSystem& fs, const std::string& program_folder,
                          const DisplaySettings& display);

// Sets all six switches to 0.
void ResetDisplaySettings(DisplaySettings& display);

}  // namespace pentrak
