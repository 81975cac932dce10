#include "platform/file_times.h"

#include <algorithm>
#include <cstring>

#include "platform/error.h"

namespace pentrak {

std::int64_t FileTimes::LastModified(const std::string& path) {
  const FileStatus& status = Find(path);
  if (status.error != 0) throw SystemError(status.error);
  return status.modified;
}

void FileTimes::Forget(const std::string& path) {
  recent_.fill(nullptr);
  known_.erase(path);
}

const FileStatus& FileTimes::Find(const std::string& path) {
  for (const Known::value_type* entry : recent_) {
    if (entry != nullptr && entry->first == path) return entry->second;
  }
  // One lookup whether the path is new or not: most paths of a run are asked about once. The
  // kept copy goes back when the path was known.
  const auto [found, added] = known_.try_emplace(Keep(path));
  if (added) {
    found->second = fs_.Status(path, folders_);
    return found->second;
  }
  Unkeep(path.size());
  // Asked about a second time: likely to be asked again.
  recent_[next_recent_] = &*found;
  next_recent_ = (next_recent_ + 1) % kRecent;
  return found->second;
}

void FileTimes::Reserve(std::size_t files) { known_.reserve(files); }

void FileTimes::Unkeep(std::size_t size) {
  free_ -= size;
  block_left_ += size;
}

std::string_view FileTimes::Keep(std::string_view path) {
  constexpr std::size_t kBlock = 64 * 1024;
  if (path.size() > block_left_) {
    std::size_t size = std::max(kBlock, path.size());
    blocks_.push_back(std::make_unique<char[]>(size));
    free_ = blocks_.back().get();
    block_left_ = size;
  }
  std::memcpy(free_, path.data(), path.size());
  std::string_view kept(free_, path.size());
  free_ += path.size();
  block_left_ -= path.size();
  return kept;
}

}  // namespace pentrak
