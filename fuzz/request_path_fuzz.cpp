// Maps the input as a request path and checks what the mapping promises: a path below the root
// without empty, "." or ".." parts, that maps to itself again. Then asks for it below a small
// site that holds links of every kind, some leading out, and checks that only the site's own
// files are ever opened.

#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "fuzz/fuzz_engine.h"
#include "preview/served_file.h"

using namespace pentrak;

namespace {

// A site below a fresh folder, made once, with a file outside it.
class Site {
 public:
  Site() {
    std::string pattern = (std::filesystem::temp_directory_path() / "request-path-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    folder_ = pattern;
    root_ = folder_ / "root";
    std::filesystem::create_directories(root_ / "docs" / "deep");
    Write(folder_ / "secret.txt");
    for (const char* page : {"index.html", "docs/index.htm", "docs/a b.html", ".hidden"}) {
      inside_.insert(Write(root_ / page));
    }
    const std::pair<const char*, std::string> kLinks[] = {
        {"out", "../secret.txt"},
        {"up", ".."},
        {"top", "/"},
        {"abs-in", (root_ / "docs").string()},
        {"abs-out", (folder_ / "secret.txt").string()},
        {"docs/back", "../index.html"},
        {"docs/deep/far", "../../../secret.txt"},
        {"docs/deep/home", "../.."},
        {"loop", "loop"},
        {"dangling", "nothing"},
    };
    for (const auto& [name, target] : kLinks) {
      std::filesystem::create_symlink(target, root_ / name);
    }
  }
  ~Site() { std::filesystem::remove_all(folder_); }

  std::string root() const { return root_.string(); }
  bool Inside(int fd) const {
    struct stat st {};
    return ::fstat(fd, &st) == 0 && inside_.count(st.st_ino) == 1;
  }

 private:
  ino_t Write(const std::filesystem::path& path) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) std::abort();
    std::fputs("x", file);
    std::fclose(file);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) std::abort();
    return st.st_ino;
  }

  std::filesystem::path folder_;
  std::filesystem::path root_;
  std::set<ino_t> inside_;
};

bool IsClean(const std::string& relative) {
  if (relative.empty()) return true;
  if (relative.front() == '/' || relative.back() == '/') return false;
  if (relative.find_first_of(std::string_view("\\\0", 2)) != std::string::npos) return false;
  std::size_t start = 0;
  while (start <= relative.size()) {
    std::size_t end = std::min(relative.find('/', start), relative.size());
    std::string_view part(relative.data() + start, end - start);
    if (part.empty() || part == "." || part == "..") return false;
    start = end + 1;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const Site site;
  const std::string request = fuzzing::TextFrom(data, size, 0);
  MappedPath mapped = MapRequestPath(request);
  bool is_path = !request.empty() && request[0] == '/';
  if (mapped.status == 0) {
    if (!is_path || !IsClean(mapped.relative)) std::abort();
    if (MapRequestPath("/" + mapped.relative).relative != mapped.relative) std::abort();
  } else if (mapped.status != (is_path ? 403 : 400) || !mapped.relative.empty()) {
    std::abort();
  }
  ServedFile served = FindServedFile(site.root(), request);
  if (served.status == 200 && (mapped.status != 0 || !site.Inside(served.file.get()))) {
    std::abort();
  }
  return 0;
}
