#pragma once

#include <string>
#include <string_view>

namespace pentrak {

// Paths are written in Windows form by users and projects; both "\" and "/" separate folders
// on every platform, and a path the system composes uses the platform's own separator.
#ifdef _WIN32
inline constexpr char kNativeSeparator = '\\';
#else
inline constexpr char kNativeSeparator = '/';
#endif

inline bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Position of the last separator, or npos.
std::size_t LastSeparator(std::string_view path);

// The text up to and including the last separator; "" when there is none.
std::string FolderOfPath(std::string_view path);

// The text after the last separator.
std::string FileNameOfPath(std::string_view path);

// folder + the native separator (unless folder is empty or already ends in one) + name.
std::string JoinPath(std::string_view folder, std::string_view name);

// The form the operating system is given: on POSIX every "\" becomes "/".
std::string NativePath(std::string_view path);

// A path typed by the user with every separator turned into the platform's own.
std::string NormalizeSeparators(std::string_view path);

// A relative path joined to the current folder; a path that begins with a separator or names a
// drive ("D:") comes back unchanged.
std::string AbsolutePath(std::string_view path);

}  // namespace pentrak
