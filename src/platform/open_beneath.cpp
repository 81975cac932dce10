#include "platform/open_beneath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <deque>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/error.h"
#include "platform/paths.h"

namespace pentrak {

namespace {

// Links followed before a path counts as a loop, as the kernel counts them. A part that turns
// out to have changed between two looks counts too, so a file swapped without end gives up.
constexpr int kMostLinks = 40;

FoundBeneath Failed(int error) {
  FoundBeneath found;
  found.error = error;
  return found;
}

// A walk's end with an error, where the walk may also go on.
std::optional<FoundBeneath> Stopped(int error) { return Failed(error); }

// Puts the parts of a "/"-separated path before the parts still to walk; empty and "." parts
// name nothing.
void PushParts(std::string_view path, std::deque<std::string>& parts) {
  std::vector<std::string> found;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    std::string_view part = path.substr(start, end - start);
    if (!part.empty() && part != ".") found.emplace_back(part);
    start = end + 1;
  }
  parts.insert(parts.begin(), found.begin(), found.end());
}

// The target of the link name in folder dir; nothing with errno set when it is not one (any
// more).
std::optional<std::string> ReadLinkAt(int dir, const std::string& name) {
  std::string target(PATH_MAX, '\0');
  ssize_t n = ::readlinkat(dir, name.c_str(), target.data(), target.size());
  if (n < 0) return std::nullopt;
  target.resize(static_cast<std::size_t>(n));
  return target;
}

// The rest of an absolute path after a path of the folder, when it leads inside it.
std::optional<std::string_view> BelowRoot(std::string_view target, std::string_view root) {
  while (root.size() > 1 && root.back() == '/') root.remove_suffix(1);
  if (root == "/") return target;
  if (target.compare(0, root.size(), root) != 0) return std::nullopt;
  if (target.size() > root.size() && target[root.size()] != '/') return std::nullopt;
  return target.substr(root.size());
}

// The walk from the folder down: the folders entered so far (the deepest last), the parts still
// to walk and the links followed.
class Walk {
 public:
  // An absolute link leads inside when it starts with the folder's real path or with the path
  // it was named by (through a link above it, say).
  Walk(Descriptor root, std::string real_path, std::string named_path)
      : root_(std::move(root)), root_paths_{std::move(real_path), std::move(named_path)} {}

  FoundBeneath Run(std::string_view relative) {
    PushParts(relative, parts_);
    while (!parts_.empty()) {
      std::string name = std::move(parts_.front());
      parts_.pop_front();
      if (name == "..") {
        if (below_.empty()) return Failed(EXDEV);
        below_.pop_back();
        continue;
      }
      std::optional<FoundBeneath> end = Step(name);
      if (end) return std::move(*end);
    }
    FoundBeneath found;
    found.kind = FoundBeneath::Kind::kFolder;
    return found;
  }

 private:
  int Here() const { return below_.empty() ? root_.get() : below_.back().get(); }

  // Takes one part; what the walk ends with, or nothing to go on.
  std::optional<FoundBeneath> Step(const std::string& name) {
    struct stat st {};
    if (::fstatat(Here(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return Failed(errno);
    if (S_ISLNK(st.st_mode)) return FollowLink(name);
    if (S_ISDIR(st.st_mode)) return Enter(name);
    if (!parts_.empty()) return Failed(ENOTDIR);
    if (!S_ISREG(st.st_mode)) return FoundBeneath{};
    return OpenFile(name);
  }

  // The part changed between two looks (a file renamed over a link, or the other way round):
  // it is looked at again.
  std::optional<FoundBeneath> Again(const std::string& name) {
    if (++links_ > kMostLinks) return Failed(ELOOP);
    parts_.push_front(name);
    return std::nullopt;
  }

  std::optional<FoundBeneath> FollowLink(const std::string& name) {
    if (++links_ > kMostLinks) return Failed(ELOOP);
    std::optional<std::string> target = ReadLinkAt(Here(), name);
    if (!target) return errno == EINVAL ? Again(name) : Stopped(errno);
    if (target->empty()) return Failed(ENOENT);
    if ((*target)[0] != '/') {
      PushParts(*target, parts_);
      return std::nullopt;
    }
    std::optional<std::string_view> rest = BelowRoot(*target, root_paths_[0]);
    if (!rest) rest = BelowRoot(*target, root_paths_[1]);
    if (!rest) return Failed(EXDEV);
    below_.clear();
    PushParts(*rest, parts_);
    return std::nullopt;
  }

  std::optional<FoundBeneath> Enter(const std::string& name) {
    Descriptor folder(
        ::openat(Here(), name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (folder.get() < 0) return errno == ENOTDIR || errno == ELOOP ? Again(name) : Stopped(errno);
    below_.push_back(std::move(folder));
    return std::nullopt;
  }

  std::optional<FoundBeneath> OpenFile(const std::string& name) {
    Descriptor file(
        ::openat(Here(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) return errno == ELOOP ? Again(name) : Stopped(errno);
    struct stat st {};
    if (::fstat(file.get(), &st) != 0) return Failed(errno);
    if (!S_ISREG(st.st_mode)) return Again(name);
    FoundBeneath found;
    found.kind = FoundBeneath::Kind::kFile;
    found.file = std::move(file);
    found.size = static_cast<std::uint64_t>(st.st_size);
    return found;
  }

  Descriptor root_;
  std::string root_paths_[2];
  std::vector<Descriptor> below_;
  std::deque<std::string> parts_;
  int links_ = 0;
};

}  // namespace

FoundBeneath FindBeneath(const std::string& folder, std::string_view relative) {
  std::unique_ptr<char, decltype(&std::free)> real(::realpath(NativePath(folder).c_str(), nullptr),
                                                   &std::free);
  if (!real) return Failed(errno);
  Descriptor root(::open(real.get(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (root.get() < 0) return Failed(errno);
  return Walk(std::move(root), real.get(), NativePath(folder)).Run(relative);
}

std::size_t ReadAt(const Descriptor& file, std::uint64_t offset, char* data, std::size_t size) {
  ssize_t n;
  do {
    n = ::pread(file.get(), data, size, static_cast<off_t>(offset));
  } while (n < 0 && errno == EINTR);
  if (n < 0) throw SystemError(errno);
  return static_cast<std::size_t>(n);
}

}  // namespace pentrak
