#include "platform/recent_folders.h"

#include <fcntl.h>
#include <unistd.h>

namespace pentrak {

RecentFolders::~RecentFolders() {
  for (Slot& slot : slots_) {
    if (slot.fd >= 0) ::close(slot.fd);
  }
}

int RecentFolders::HandleFor(std::string_view folder) {
  for (const Slot& slot : slots_) {
    if (slot.fd >= 0 && slot.folder == folder) return slot.fd;
  }
  std::string path(folder);
  int fd = ::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return -1;
  Slot& slot = slots_[next_];
  next_ = (next_ + 1) % kSlots;
  if (slot.fd >= 0) ::close(slot.fd);
  slot.folder = std::move(path);
  slot.fd = fd;
  return fd;
}

}  // namespace pentrak
