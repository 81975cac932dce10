#pragma once

// Shared by the tests of this layer only.

#include "settings/project_settings.h"

namespace pentrak {

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
