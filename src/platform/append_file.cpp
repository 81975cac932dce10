#include "platform/append_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace pentrak {

void AppendFile::Open(const FileSystem& fs, const std::string& path) {
  Close();
  fs.CheckFault(FileOp::kAppend, path);
  int fd;
  do {
    fd =
        ::open(NativePath(path).c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) throw SystemError(errno);
  fs_ = &fs;
  path_ = path;
  fd_ = fd;
}

void AppendFile::Write(std::string_view bytes) {
  fs_->CheckFault(FileOp::kAppend, path_);
  while (!bytes.empty()) {
    ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      throw SystemError(errno);
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

void AppendFile::Close() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
}

}  // namespace pentrak
