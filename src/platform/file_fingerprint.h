#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>

namespace pentrak {

class FileSystem;

// What the file system says of a file without reading it.
struct FileStamp {
  int error = 0;  // 0, or why the file could not be looked at (ENOENT: it is missing)
  std::uint64_t device = 0;
  std::uint64_t inode = 0;  // a file renamed over the old one has another
  std::uint64_t size = 0;
  std::int64_t modified_ns = 0;
  std::int64_t changed_ns = 0;  // moves with every write and every change of permissions
  std::uint32_t mode = 0;

  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the file a path leads to (symbolic links followed).
FileStamp StampOf(const std::string& path);

// How long after a change a file's stamp may still be taken again by a second change. Time
// stamps move in ticks of the kernel's coarse clock (up to 10 ms) on most file systems, in
// whole seconds on some and in two seconds on FAT; a file last changed longer ago than this
// before a look cannot change again without its stamp moving.
inline constexpr std::chrono::seconds kStampSettleTime{3};

// What a file held when it was last looked at: its bytes, or that it could not be read.
class FileFingerprint {
 public:
  // Looks at the file again and tells whether what a reader gets from it (its bytes, or the
  // failure to read it) differs from the last look; the first look counts as a change. The
  // file is read again unless its stamp is the one of the last look and was settled then, so a
  // second save within the same time stamp tick is never missed and a save of the same bytes
  // (or a change of permissions alone) is no change.
  bool Refresh(const FileSystem& fs, const std::string& path);

 private:
  FileStamp stamp_;
  bool settled_ = false;
  bool known_ = false;
  int read_error_ = 0;
  std::array<std::uint64_t, 2> digest_{};
};

}  // namespace pentrak
