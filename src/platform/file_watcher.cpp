#include "platform/file_watcher.h"

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <set>
#include <thread>

#ifdef __linux__
#include <sys/inotify.h>
#endif

#include "platform/paths.h"

namespace pentrak {

namespace {

// Collects changed paths once each, in the order they were first seen.
class ChangeList {
 public:
  void Add(const std::string& path) {
    if (seen_.insert(path).second) paths_.push_back(path);
  }
  std::vector<std::string> Take() {
    seen_.clear();
    return std::move(paths_);
  }

 private:
  std::set<std::string> seen_;
  std::vector<std::string> paths_;
};

// What a poll compares: a replaced file has a new inode, an edited one a new time or size.
struct FileStamp {
  bool exists = false;
  ino_t inode = 0;
  off_t size = 0;
  std::int64_t modified_ns = 0;
  bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const std::string& path) {
  struct stat info {};
  if (::stat(NativePath(path).c_str(), &info) != 0) return {};
  return FileStamp{
      true, info.st_ino, info.st_size,
      static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

class PollingFileWatcher : public FileWatcher {
 public:
  explicit PollingFileWatcher(std::chrono::milliseconds interval) : interval_(interval) {}

  void Watch(const std::vector<std::string>& paths) override {
    std::map<std::string, FileStamp> stamps;
    for (const std::string& path : paths) {
      auto old = stamps_.find(path);
      stamps[path] = old != stamps_.end() ? old->second : StampOf(path);
    }
    stamps_ = std::move(stamps);
  }

  std::vector<std::string> Poll(std::chrono::milliseconds timeout) override {
    auto now = std::chrono::steady_clock::now();
    if (next_check_ > now) {
      auto wait = std::min<std::chrono::steady_clock::duration>(next_check_ - now, timeout);
      std::this_thread::sleep_for(wait);
      if (std::chrono::steady_clock::now() < next_check_) return {};
    }
    next_check_ = std::chrono::steady_clock::now() + interval_;
    ChangeList changes;
    for (auto& [path, stamp] : stamps_) {
      FileStamp current = StampOf(path);
      if (current == stamp) continue;
      stamp = current;
      changes.Add(path);
    }
    return changes.Take();
  }

 private:
  std::chrono::milliseconds interval_;
  std::chrono::steady_clock::time_point next_check_{};
  std::map<std::string, FileStamp> stamps_;
};

#ifdef __linux__

// Watches the folders that hold the files rather than the files themselves: editors save by
// writing a new file and renaming it over the old one, which would end a watch on the file.
class InotifyFileWatcher : public FileWatcher {
 public:
  explicit InotifyFileWatcher(int fd) : fd_(fd) {}
  ~InotifyFileWatcher() override { ::close(fd_); }
  InotifyFileWatcher(const InotifyFileWatcher&) = delete;
  InotifyFileWatcher& operator=(const InotifyFileWatcher&) = delete;

  void Watch(const std::vector<std::string>& paths) override {
    constexpr std::uint32_t kMask = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE |
                                    IN_DELETE | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;
    // The same folder spelt two ways gets one watch, so names are kept per watch.
    std::map<std::string, std::map<std::string, std::vector<std::string>>> by_folder;
    for (const std::string& path : paths) {
      std::string native = NativePath(path);
      std::string folder = FolderOfPath(native);
      by_folder[folder.empty() ? "./" : folder][FileNameOfPath(native)].push_back(path);
    }
    std::map<int, std::map<std::string, std::vector<std::string>>> watched;
    for (auto& [folder, names] : by_folder) {
      int wd = ::inotify_add_watch(fd_, folder.c_str(), kMask);
      if (wd < 0) continue;
      for (auto& [name, given] : names) {
        auto& all = watched[wd][name];
        all.insert(all.end(), given.begin(), given.end());
      }
    }
    for (const auto& [wd, names] : watched_) {
      if (watched.count(wd) == 0) ::inotify_rm_watch(fd_, wd);
    }
    watched_ = std::move(watched);
    all_.assign(paths.begin(), paths.end());
  }

  std::vector<std::string> Poll(std::chrono::milliseconds timeout) override {
    pollfd ready{fd_, POLLIN, 0};
    if (::poll(&ready, 1, static_cast<int>(timeout.count())) <= 0) return {};
    ChangeList changes;
    alignas(inotify_event) char buffer[16384];
    for (;;) {
      ssize_t got = ::read(fd_, buffer, sizeof buffer);
      if (got <= 0) break;
      for (ssize_t at = 0; at < got;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        Take(*event, changes);
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
    return changes.Take();
  }

 private:
  void Take(const inotify_event& event, ChangeList& changes) {
    // Events were lost, or a folder went away: any file may have changed.
    bool everything = (event.mask & (IN_Q_OVERFLOW | IN_DELETE_SELF | IN_MOVE_SELF)) != 0;
    if (everything) {
      for (const std::string& path : all_) changes.Add(path);
      return;
    }
    auto folder = watched_.find(event.wd);
    if (folder == watched_.end() || event.len == 0) return;
    auto name = folder->second.find(event.name);
    if (name == folder->second.end()) return;
    for (const std::string& path : name->second) changes.Add(path);
  }

  int fd_;
  std::map<int, std::map<std::string, std::vector<std::string>>> watched_;
  std::vector<std::string> all_;
};

#endif

}  // namespace

std::unique_ptr<FileWatcher> MakeFileWatcher() {
#ifdef __linux__
  int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd >= 0) return std::make_unique<InotifyFileWatcher>(fd);
#endif
  return MakePollingFileWatcher();
}

std::unique_ptr<FileWatcher> MakePollingFileWatcher(std::chrono::milliseconds interval) {
  return std::make_unique<PollingFileWatcher>(interval);
}

}  // namespace pentrak
