#pragma once

// For tests only.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/error.h"

namespace pentrak {

// A fresh, empty folder on the real file system, removed afterwards.
class TestFolder {
 public:
  TestFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pentrak-test-XXXXXX").string();
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

// The description of the Error that action throws, or "(nothing thrown)".
template <typename Action>
std::string ThrownDescription(Action action) {
  try {
    action();
  } catch (const Error& error) {
    return error.description();
  }
  return "(nothing thrown)";
}

}  // namespace pentrak
