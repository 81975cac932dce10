#pragma once

// For tests only: a fresh, empty folder on the real file system, removed afterwards.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace pentrak {

class TestFolder {
 public:
  TestFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "pentrak-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    if (path_.empty()) std::abort();
  }
  ~TestFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  // The folder itself, without a final separator.
  const std::string& path() const { return path_; }
  // The folder + "/" + name.
  std::string operator/(std::string_view name) const { return path_ + "/" + std::string(name); }

 private:
  std::string path_;
};

}  // namespace pentrak
