#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"
#include "platform/recent_folders.h"

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
  void Forget(const std::string& path);
  // Makes room for this many files at once, for a run that knows roughly how many it will ask
  // about.
  void Reserve(std::size_t files);
  // As FileSystem::Status, asked now and not kept: for a file this run may write.
  FileStatus StatusNow(const std::string& path) { return fs_.Status(path, folders_); }

 private:
  // A copy of the path that lives as long as this object, as the key of known_: most paths
  // are asked about once, and a key that owns its own copy would cost an allocation each.
  std::string_view Keep(std::string_view path);
  // Gives back the last size bytes kept.
  void Unkeep(std::size_t size);
  // What is known of the path, learnt now if it is not.
  const FileStatus& Find(const std::string& path);

  using Known = std::unordered_map<std::string_view, FileStatus>;

  const FileSystem& fs_;
  RecentFolders folders_;
  Known known_;
  // The files asked about more than once lately (a shared template, the globals): looked up here
  // first, which spares the table's lookup, the costlier part of a question on a large project.
  static constexpr std::size_t kRecent = 4;
  std::array<const Known::value_type*, kRecent> recent_{};
  std::size_t next_recent_ = 0;
  std::vector<std::unique_ptr<char[]>> blocks_;  // the kept paths
  char* free_ = nullptr;                         // the free end of the last block
  std::size_t block_left_ = 0;                   // and its size
};

}  // namespace pentrak
