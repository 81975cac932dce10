#include "platform/scratch_file.h"

#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/error.h"
#include "platform/file_system.h"

namespace pentrak {

ScratchFile::ScratchFile(ScratchFile&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)), size_(other.size_) {}

ScratchFile& ScratchFile::operator=(ScratchFile&& other) noexcept {
  if (this != &other) {
    Close();
    path_ = std::move(other.path_);
    fd_ = std::exchange(other.fd_, -1);
    size_ = other.size_;
  }
  return *this;
}

void ScratchFile::Rewrite(const FileSystem& fs, const std::string& path, std::string_view bytes) {
  if (fd_ >= 0 && path != path_) Close();
  fs.CheckFault(FileOp::kWrite, path);
  if (fd_ < 0) {
    fd_ = fs.OpenScratch(path, size_);
    path_ = path;
  }
  const char* data = bytes.data();
  std::size_t left = bytes.size();
  off_t offset = 0;
  while (left > 0) {
    ssize_t n = ::pwrite(fd_, data, left, offset);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int saved = errno;
      Close();
      throw SystemError(saved);
    }
    data += n;
    offset += n;
    left -= static_cast<std::size_t>(n);
  }
  if (bytes.size() < size_ && ::ftruncate(fd_, static_cast<off_t>(bytes.size())) != 0) {
    int saved = errno;
    Close();
    throw SystemError(saved);
  }
  size_ = bytes.size();
}

void ScratchFile::Finish() {
  if (fd_ < 0) return;
  int fd = std::exchange(fd_, -1);
  if (::close(fd) != 0) throw SystemError(errno);
}

void ScratchFile::Close() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
}

}  // namespace pentrak
