#pragma once

#include <string>

namespace pentrak {

// The strings that mark macros and their options in templates and content files.
struct MacroTags {
  std::string macro_start;          // macro-start-tag
  std::string macro_end;            // macro-end-tag
  std::string parameter_start;      // parameter-start-tag
  std::string parameter_end;        // parameter-end-tag
  std::string wildcard;             // wildcard-tag
  std::string non_blank_delete;     // non-blank-delete-tag
  std::string parent_reference;     // parent-reference-tag
  std::string single_quote_escape;  // single-quote-escape-tag
  std::string concatenate;          // concatenate-tag
  std::string conditional_start;    // conditional-start-tag
  std::string conditional_else;     // conditional-else-tag
  std::string conditional_end;      // conditional-end-tag
  std::string required;             // required-tag
  std::string line_continuation;    // line-continuation

  friend bool operator==(const MacroTags&, const MacroTags&) = default;
};

// Where a project's generated site is published. These keys came after the project file's first
// form: older readers ignore them, and a project that does not publish writes none of them.
struct PublishSettings {
  short method = 0;           // publish-method: one of the PublishMethod values
  std::string folder;         // publish-folder: a local folder (a mounted share, a checkout)
  std::string host;           // publish-host
  std::string port;           // publish-port: empty for the SSH default, 22
  std::string user;           // publish-user: empty for the login name
  std::string remote_folder;  // publish-remote-folder: absolute, or relative to the login's home
  std::string key_file;       // publish-key-file: empty for ssh-agent, then the default keys

  friend bool operator==(const PublishSettings&, const PublishSettings&) = default;
};

// The values of publish-method.
enum PublishMethod : short { kPublishNowhere = 0, kPublishToFolder = 1, kPublishBySftp = 2 };

// The settings of the current project, read from and written to its project file (".web").
struct ProjectSettings {
  std::string name;
  std::string project_file_path;  // not stored in the file
  std::string document_root;
  std::string content_root;
  std::string default_content_root;
  std::string definition_file;
  MacroTags tags;
  short parent_reference_is_by_file = 0;
  short delete_line = 0;
  std::string delete_line_exceptions;
  short max_nested_macros = 0;
  std::string reserved_date_macro;
  short optimization_status = 0;
  std::string optimize_exclude_list;
  short optimization_level = 0;
  // The ten limits that size the project's tables.
  short max_folders = 0;
  short max_globals = 0;
  short max_docs = 0;
  short max_folder_globals = 0;
  short max_content_files = 0;
  short max_global_macros = 0;
  short max_folder_global_macros = 0;
  short max_content_file_macros = 0;
  short max_project_macros = 0;
  short max_parameters = 0;
  std::string temporary_files_path;
  std::string reserved_project_name_macro;
  std::string reserved_folder_name_macro;
  std::string reserved_document_name_macro;
  std::string project_macro_file;
  std::string global_content_files;
  short display_project_macro_file = 0;
  std::string custom_project_path;
  short custom_project_path_with_drive = 0;
  short trim_parameter_values = 0;
  std::string generated_files_log_file;
  PublishSettings publish;

  // The macro start tag directly followed by the macro end tag ("[@]"), kept after every
  // successful read; it ends a definition in a content file.
  std::string macro_end_line;

  friend bool operator==(const ProjectSettings&, const ProjectSettings&) = default;
};

}  // namespace pentrak
