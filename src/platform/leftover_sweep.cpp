#include "platform/leftover_sweep.h"

#include "platform/file_system.h"
#include "platform/paths.h"

namespace pentrak {

void LeftoverSweep::Visit(const FileSystem& fs, const std::string& path) {
  std::string folder = FolderOfPath(path);
  if (folder.empty()) folder = ".";
  if (swept_.insert(folder).second) fs.RemoveLeftovers(folder);
}

}  // namespace pentrak
