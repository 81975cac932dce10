#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace pentrak {

// Tells which of a set of files were written, replaced, created or removed. Paths may use "\"
// or "/"; changes are reported with the paths exactly as they were given to Watch.
class FileWatcher {
 public:
  virtual ~FileWatcher() = default;

  // Replaces the set of watched files. A file that does not exist yet is watched for its
  // creation as long as its folder exists.
  virtual void Watch(const std::vector<std::string>& paths) = 0;

  // Waits up to timeout for a change and returns the watched files changed since the last
  // call, each once; empty when none changed in time.
  virtual std::vector<std::string> Poll(std::chrono::milliseconds timeout) = 0;
};

// The operating system's change notification where there is one (inotify on Linux), else
// PollingFileWatcher.
std::unique_ptr<FileWatcher> MakeFileWatcher();

// Looks at every watched file's time, size and existence on each poll: works everywhere, at the
// cost of a file-information call per file and poll.
std::unique_ptr<FileWatcher> MakePollingFileWatcher(
    std::chrono::milliseconds interval = std::chrono::milliseconds(250));

}  // namespace pentrak
