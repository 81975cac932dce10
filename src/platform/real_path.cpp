#include "platform/real_path.h"

#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <memory>

#include "platform/paths.h"

namespace pentrak {

std::optional<RealPath> ResolveRealPath(const std::string& path) {
  std::unique_ptr<char, decltype(&std::free)> resolved(
      ::realpath(NativePath(path).c_str(), nullptr), &std::free);
  if (!resolved) return std::nullopt;
  struct stat info {};
  if (::stat(resolved.get(), &info) != 0) return std::nullopt;
  RealPath real{resolved.get(), RealPath::Kind::kOther};
  if (S_ISREG(info.st_mode)) real.kind = RealPath::Kind::kFile;
  if (S_ISDIR(info.st_mode)) real.kind = RealPath::Kind::kFolder;
  return real;
}

}  // namespace pentrak
