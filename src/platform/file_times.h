#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "platform/file_system.h"

namespace pentrak {

// The time stamps one run has learnt, each asked of the file system once: a project's shared
// template and global content files are compared with every one of its documents. A run keeps
// one for its length and forgets every file it writes.
class FileTimes {
 public:
  explicit FileTimes(const FileSystem& fs) : fs_(fs) {}

  // As FileSystem::LastModified, a missing file included: it throws the same error each time.
  std::int64_t LastModified(const std::string& path);
  // The next question about the file asks the file system again.
  void Forget(const std::string& path) { known_.erase(path); }

 private:
  const FileSystem& fs_;
  std::unordered_map<std::string, FileStatus> known_;
};

}  // namespace pentrak
