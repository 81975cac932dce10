#pragma once

#include <array>
#include <string>

namespace pentrak {

// One custom pop-up menu option (caption and command).
struct CustomOption {
  std::string caption;
  std::string command;

  friend bool operator==(const CustomOption&, const CustomOption&) = default;
};

// One custom application (caption and command).
struct CustomApplication {
  std::string caption;
  std::string command;

  friend bool operator==(const CustomApplication&, const CustomApplication&) = default;
};

// The program-wide options kept in "pentrak.ini".
struct ProgramOptions {
  std::string editor;
  std::string browser;
  std::string image_editor;
  std::string xml_editor;
  std::array<CustomApplication, 3> custom_applications;
  std::string browse_folder;
  short enable_logging = 0;
  short enable_default_drive = 0;
  std::string default_drive;
  short enable_content_file_filter = 0;
  std::string content_file_filter;
  std::array<CustomOption, 6> custom_options;
  short documents_default_action = 0;
  short maximum_projects = 0;
  std::string project_history_file;  // key project-file
  short fast_file_system = 0;
  short post_generate_refresh = 0;
  short display_all_macros = 0;
  short show_macro_tags = 0;
  short resizable_border = 0;
  std::string editor_options;
  short sort_folders = 0;
  short large_display = 0;
  short editor_options_add_space = 0;
  short ignore_generation_errors = 0;
  short ignore_missing_file_errors = 0;
  // The link check's options, written after all the others: a reader that does not know them
  // looks its own keys up and passes them by.
  short check_external_links = 0;  // the link check asks the web about external links too
  short link_cache_hours = 24;     // how long the answer about an external link is kept

  friend bool operator==(const ProgramOptions&, const ProgramOptions&) = default;
};

// The six switches of the main window kept in "ui.ini".
struct DisplaySettings {
  short display_paths = 0;
  short display_attributes = 0;
  short display_macros = 0;
  short modified_only = 0;
  short skip_read_only = 0;
  short create_subdirectories = 0;

  friend bool operator==(const DisplaySettings&, const DisplaySettings&) = default;
};

}  // namespace pentrak
