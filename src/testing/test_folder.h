#pragma once

// For tests only: a fresh folder on the real file system, and the helpers that hide its path.

#include <string>
#include <string_view>
#include <vector>

#include "platform/error.h"

namespace pentrak {

// A fresh, empty folder, removed with everything in it afterwards.
class TestFolder {
 public:
  TestFolder();
  ~TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  // The folder itself, without a final separator.
  const std::string& path() const { return path_; }
  // The folder + "/" + name.
  std::string operator/(std::string_view name) const { return path_ + "/" + std::string(name); }

  // The text with every occurrence of the folder's path shown as "<dir>".
  std::string Masked(std::string text) const;
  // The text split at LF or CR LF, each line masked.
  std::vector<std::string> MaskedLines(const std::string& text) const;

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
