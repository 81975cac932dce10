#pragma once

#include <string>
#include <string_view>

namespace pentrak {

struct ProgramOptions;

// Puts drive in front of a path that begins with one separator (not two) when enabled is 1;
// any other path comes back unchanged.
std::string ApplyDefaultDrive(std::string_view path, std::string_view drive, short enabled);

// The same with the program options' default-drive and enable-default-drive.
std::string ApplyDefaultDrive(std::string_view path, const ProgramOptions& options);

}  // namespace pentrak
