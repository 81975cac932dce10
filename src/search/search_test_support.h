#pragma once

// Test support for the search and replace tests: a fresh project in a temporary folder.

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/scripted_user_interface.h"
#include "platform/test_support.h"
#include "project/definition.h"
#include "search/search.h"
#include "search/search_file_list.h"
#include "settings/program_options.h"
#include "settings/project_settings.h"
#include "settings/work_files.h"

namespace pentrak::testing {

// A temporary folder with sources under "src/", documents under "site/" and work files under
// "work/", and a definition the test fills by hand.
class TestProject {
 public:
  TestProject() : root(temporary.path()) {
    for (const char* sub : {"/src", "/site", "/work"}) fs.CreateFolder(root + sub);
    project.content_root = root + "/src";
    project.document_root = root + "/site";
    project.tags.macro_start = "[@";
    project.tags.macro_end = "]";
    project.tags.parameter_start = "(@";
    work_files.work_folder = root + "/work/";
    work_files.results_file = root + "/work/search.txt";
    work_files.replace_work_file = root + "/work/pentrak.rpl";
  }

  std::string Source(const std::string& name) const { return root + "/src/" + name; }
  void WriteSource(const std::string& name, const std::string& bytes) const {
    fs.WriteFile(Source(name), bytes);
  }
  std::string ReadSource(const std::string& name) const { return fs.ReadFile(Source(name)); }
  std::vector<std::string> ResultsFile() const { return fs.ReadLines(work_files.results_file); }

  // Adds a folder with its global content files; returns its index.
  int AddFolder(const std::string& name, std::vector<std::string> globals = {}) {
    Folder folder;
    folder.name = name;
    folder.content_files = std::move(globals);
    definition.folders.push_back(std::move(folder));
    return static_cast<int>(definition.folders.size()) - 1;
  }
  void AddDocument(int folder, const std::string& path, const std::string& template_path,
                   std::vector<std::string> content_files) {
    Document document;
    document.path = path;
    document.template_path = template_path;
    document.content_files = std::move(content_files);
    definition.folders[static_cast<std::size_t>(folder)].documents.push_back(std::move(document));
  }

  SearchContext Context() { return {project, definition, log, files, results}; }

  TestFolder temporary;
  std::string root;
  FileSystem fs;
  ScriptedUserInterface ui;
  ProgramOptions options;
  ProjectSettings project;
  ProjectDefinition definition;
  WorkFiles work_files;
  LogContext log{work_files, fs, ui, options};
  SearchFileList files;
  RecordedResults results;
};

}  // namespace pentrak::testing
