#include "platform/paths.h"

#include <filesystem>

namespace pentrak {

std::size_t LastSeparator(std::string_view path) { return path.find_last_of("\\/"); }

std::string FolderOfPath(std::string_view path) {
  std::size_t pos = LastSeparator(path);
  if (pos == std::string_view::npos) return "";
  return std::string(path.substr(0, pos + 1));
}

std::string FileNameOfPath(std::string_view path) {
  std::size_t pos = LastSeparator(path);
  if (pos == std::string_view::npos) return std::string(path);
  return std::string(path.substr(pos + 1));
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string result(folder);
  if (!result.empty() && !IsSeparator(result.back())) result += kNativeSeparator;
  result.append(name);
  return result;
}

std::string NativePath(std::string_view path) {
#ifdef _WIN32
  return std::string(path);
#else
  std::string result(path);
  for (char& c : result) {
    if (c == '\\') c = '/';
  }
  return result;
#endif
}

std::string NormalizeSeparators(std::string_view path) {
  std::string result(path);
  for (char& c : result) {
    if (IsSeparator(c)) c = kNativeSeparator;
  }
  return result;
}

std::string AbsolutePath(std::string_view path) {
  bool names_drive = path.size() >= 2 && path[1] == ':';
  if (path.empty() || IsSeparator(path.front()) || names_drive) return std::string(path);
  std::error_code ec;
  std::filesystem::path current = std::filesystem::current_path(ec);
  if (ec) return std::string(path);
  return JoinPath(current.string(), path);
}

}  // namespace pentrak
