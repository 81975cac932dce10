#include "platform/file_watcher.h"

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
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

// A path's folder and name as the file system is asked about them.
struct Place {
  std::string folder;  // ends in "/"; "./" for a bare name
  std::string name;
};

Place PlaceOf(const std::string& native) {
  std::string folder = FolderOfPath(native);
  return {folder.empty() ? "./" : folder, FileNameOfPath(native)};
}

bool IsLink(const std::string& native) {
  struct stat info {};
  return ::lstat(native.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

// Where a path leads once every link is followed, or "" when it leads nowhere.
std::string Resolved(const std::string& native) {
  char* resolved = ::realpath(native.c_str(), nullptr);
  if (resolved == nullptr) return "";
  std::string path(resolved);
  std::free(resolved);
  return path;
}

// Watches the folders that hold the files rather than the files themselves: editors save by
// writing a new file and renaming it over the old one, which would end a watch on the file. A
// file that is a symbolic link is also watched where it leads, and a folder reached through a
// link also by the link's own name, so that a save through the link and a link pointed
// elsewhere are both seen; a change to a link's name looks at every link again.
class InotifyFileWatcher : public FileWatcher {
 public:
  explicit InotifyFileWatcher(int fd) : fd_(fd) {}
  ~InotifyFileWatcher() override { ::close(fd_); }
  InotifyFileWatcher(const InotifyFileWatcher&) = delete;
  InotifyFileWatcher& operator=(const InotifyFileWatcher&) = delete;

  void Watch(const std::vector<std::string>& paths) override {
    all_.assign(paths.begin(), paths.end());
    Rewatch();
  }

  std::vector<std::string> Poll(std::chrono::milliseconds timeout) override {
    pollfd ready{fd_, POLLIN, 0};
    if (::poll(&ready, 1, static_cast<int>(timeout.count())) <= 0) return {};
    ChangeList changes;
    bool links_changed = false;
    alignas(inotify_event) char buffer[16384];
    for (;;) {
      ssize_t got = ::read(fd_, buffer, sizeof buffer);
      if (got <= 0) break;
      for (ssize_t at = 0; at < got;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        links_changed |= Take(*event, changes);
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
    if (links_changed) Rewatch();
    return changes.Take();
  }

 private:
  // Names in a folder, each with the watched paths a change to it concerns.
  struct Names {
    std::string folder;  // as first spelt
    std::map<std::string, std::vector<std::string>> paths;
    std::set<std::string> links;  // names that are links the watches were chosen through
  };

  void Rewatch() {
    constexpr std::uint32_t kMask = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE |
                                    IN_DELETE | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;
    std::map<std::string, Names> by_folder;
    std::map<std::string, bool> linked_folders;  // folder -> reached through a link
    for (const std::string& path : all_) {
      std::string native = NativePath(path);
      Place place = PlaceOf(native);
      by_folder[place.folder].paths[place.name].push_back(path);
      auto linked = linked_folders.try_emplace(place.folder, false);
      if (linked.second && place.folder.size() > 1) {
        linked.first->second = IsLink(place.folder.substr(0, place.folder.size() - 1));
      }
      if (linked.first->second) {
        Place link = PlaceOf(place.folder.substr(0, place.folder.size() - 1));
        by_folder[link.folder].paths[link.name].push_back(path);
        by_folder[link.folder].links.insert(link.name);
      }
      if (!IsLink(native)) continue;
      by_folder[place.folder].links.insert(place.name);
      std::string target = Resolved(native);
      if (target.empty()) continue;
      Place real = PlaceOf(target);
      by_folder[real.folder].paths[real.name].push_back(path);
    }
    // The same folder spelt two ways gets one watch, so names are kept per watch.
    std::map<int, Names> watched;
    for (auto& [folder, names] : by_folder) {
      int wd = ::inotify_add_watch(fd_, folder.c_str(), kMask);
      if (wd < 0) continue;
      Names& all = watched[wd];
      if (all.folder.empty()) all.folder = folder;
      for (auto& [name, given] : names.paths) {
        auto& paths = all.paths[name];
        paths.insert(paths.end(), given.begin(), given.end());
      }
      all.links.insert(names.links.begin(), names.links.end());
    }
    for (const auto& [wd, names] : watched_) {
      if (watched.count(wd) == 0) ::inotify_rm_watch(fd_, wd);
    }
    watched_ = std::move(watched);
  }

  // Adds the paths the event concerns; true when it changed a link the watches depend on.
  bool Take(const inotify_event& event, ChangeList& changes) {
    // Events were lost, or a folder went away: any file may have changed.
    bool everything = (event.mask & (IN_Q_OVERFLOW | IN_DELETE_SELF | IN_MOVE_SELF)) != 0;
    if (everything) {
      for (const std::string& path : all_) changes.Add(path);
      return (event.mask & IN_Q_OVERFLOW) == 0;
    }
    auto folder = watched_.find(event.wd);
    if (folder == watched_.end() || event.len == 0) return false;
    auto name = folder->second.paths.find(event.name);
    if (name == folder->second.paths.end()) return false;
    for (const std::string& path : name->second) changes.Add(path);
    if (folder->second.links.count(event.name) > 0) return true;
    // A link made in place of a file: where it leads is watched from now on.
    return (event.mask & (IN_CREATE | IN_MOVED_TO)) != 0 &&
           IsLink(folder->second.folder + event.name);
  }

  int fd_;
  std::map<int, Names> watched_;
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
