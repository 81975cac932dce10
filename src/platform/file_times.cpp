#include "platform/file_times.h"

#include "platform/error.h"

namespace pentrak {

std::int64_t FileTimes::LastModified(const std::string& path) {
  auto found = known_.find(path);
  if (found == known_.end()) found = known_.emplace(path, fs_.Status(path)).first;
  if (found->second.error != 0) throw SystemError(found->second.error);
  return found->second.modified;
}

}  // namespace pentrak
