#pragma once

#include <array>
#include <string>
#include <string_view>

namespace pentrak {

// Open handles on the few folders looked into last. A look at a file through the handle of its
// folder walks only the file's name, not every folder of its path again: a run that asks about
// tens of thousands of files in a handful of folders at a time spends most of its looks there.
class RecentFolders {
 public:
  RecentFolders() = default;
  ~RecentFolders();
  RecentFolders(const RecentFolders&) = delete;
  RecentFolders& operator=(const RecentFolders&) = delete;

  // A handle on the folder (a native path ending in "/"), opened when it is not among the
  // recent ones; -1 when it cannot be opened, and the caller looks by the whole path instead.
  int HandleFor(std::string_view folder);

 private:
  struct Slot {
    std::string folder;
    int fd = -1;
  };
  static constexpr std::size_t kSlots = 4;  // a document's output, sources, template, globals
  std::array<Slot, kSlots> slots_;
  std::size_t next_ = 0;  // the slot replaced next
};

}  // namespace pentrak
