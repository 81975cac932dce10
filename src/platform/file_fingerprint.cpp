#include "platform/file_fingerprint.h"

#include <sys/stat.h>

#include <cerrno>
#include <functional>
#include <string_view>

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace pentrak {

namespace {

std::int64_t Nanoseconds(const timespec& time) {
  return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

// Two independent 64-bit hashes of the bytes: together a change goes unseen with a chance of
// one in 2^128, and no source needs to be kept whole.
std::array<std::uint64_t, 2> DigestOf(std::string_view bytes) {
  std::uint64_t fnv = 14695981039346656037ull;
  for (unsigned char byte : bytes) {
    fnv ^= byte;
    fnv *= 1099511628211ull;
  }
  return {std::hash<std::string_view>{}(bytes), fnv};
}

}  // namespace

FileStamp StampOf(const std::string& path) {
  struct stat info {};
  if (::stat(NativePath(path).c_str(), &info) != 0) return FileStamp{errno};
  FileStamp stamp;
  stamp.device = info.st_dev;
  stamp.inode = info.st_ino;
  stamp.size = static_cast<std::uint64_t>(info.st_size);
  stamp.modified_ns = Nanoseconds(info.st_mtim);
  stamp.changed_ns = Nanoseconds(info.st_ctim);
  stamp.mode = info.st_mode;
  return stamp;
}

bool FileFingerprint::Refresh(const FileSystem& fs, const std::string& path) {
  // Taken before the look: a change after it stamps the file with this time or later.
  const std::int64_t look_ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                   std::chrono::system_clock::now().time_since_epoch())
                                   .count();
  FileStamp stamp = StampOf(path);
  if (known_ && settled_ && stamp == stamp_) return false;
  int read_error = stamp.error;
  std::array<std::uint64_t, 2> digest{};
  if (read_error == 0) {
    try {
      digest = DigestOf(fs.ReadFile(path));
    } catch (const Error& error) {
      read_error = error.number() != 0 ? error.number() : EIO;
    }
  }
  const std::int64_t settle_ns =
      std::chrono::duration_cast<std::chrono::nanoseconds>(kStampSettleTime).count();
  bool changed = !known_ || read_error != read_error_ || digest != digest_;
  stamp_ = stamp;
  settled_ = stamp.error == 0 && stamp.modified_ns < look_ns - settle_ns &&
             stamp.changed_ns < look_ns - settle_ns;
  known_ = true;
  read_error_ = read_error;
  digest_ = digest;
  return changed;
}

}  // namespace pentrak
