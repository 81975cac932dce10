#pragma once

// Shared by the tests of this layer only.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/paths.h"
#include "settings/project_settings.h"

namespace pentrak {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pentrak-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot create " << pattern;
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string File(std::string_view name) const { return JoinPath(path_, name); }

 private:
  std::string path_;
};

// The five limits that size the definition tables, at the values of a new project.
inline ProjectSettings ProjectWithDefaultLimits() {
  ProjectSettings project;
  project.max_folders = 25;
  project.max_globals = 5;
  project.max_docs = 50;
  project.max_folder_globals = 5;
  project.max_content_files = 5;
  return project;
}

}  // namespace pentrak
