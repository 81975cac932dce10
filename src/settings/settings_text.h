#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pentrak {

class FileSystem;

// A whole settings file in one string, every line followed by CR LF.
using SettingsText = std::string;

// Reads a settings file whole; throws Error when it cannot be opened.
// Settings, history and definition files are read whole; this bound keeps a wrong path (a
// huge log, a disk image) from filling the memory.
inline constexpr std::size_t kMaxSettingsFileBytes = std::size_t{64} << 20;

SettingsText LoadSettingsText(const FileSystem& fs, const std::string& path);

// The value of the first line that begins with key + "=", unchanged, or default_value when no
// line does.
std::string GetSettingValue(std::string_view text, std::string_view key,
                            std::string_view default_value);

// key + "=" + the value without its leading and trailing blanks.
std::string MakeSettingLine(std::string_view key, std::string_view value);

// One value read straight from a file, "" when the file cannot be opened; an empty path stands
// for the current project's file.
std::string GetFileSettingValue(const FileSystem& fs, const std::string& path, std::string_view key,
                                const std::string& current_project_path);

// The 16-bit integer a setting holds; throws Error naming the key when the text is not one.
short SettingInteger(std::string_view value, std::string_view key);

}  // namespace pentrak
