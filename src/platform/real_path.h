#pragma once

#include <optional>
#include <string>

namespace pentrak {

// What a path names once every symbolic link on the way is followed.
struct RealPath {
  enum class Kind { kFile, kFolder, kOther };
  std::string path;  // absolute, without "." or ".." parts or links
  Kind kind = Kind::kOther;
};

// The real path behind a path; nothing when it does not exist or cannot be reached.
std::optional<RealPath> ResolveRealPath(const std::string& path);

}  // namespace pentrak
