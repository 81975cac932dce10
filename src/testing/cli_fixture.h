#pragma once

// For tests only: runs pentrak-cli in-process over a fresh program folder and keeps what it
// wrote to stdout and stderr.

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "platform/file_system.h"
#include "testing/test_folder.h"

namespace pentrak::cli {

class CliFixture {
 public:
  // Runs "pentrak-cli --home <folder> arguments..." and returns the exit status.
  int RunCli(const std::vector<std::string>& arguments) {
    std::vector<std::string> words = {"pentrak-cli", "--home", home.path()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<const char*> argv;
    for (const std::string& word : words) argv.push_back(word.c_str());
    out.str("");
    err.str("");
    return Run(static_cast<int>(argv.size()), argv.data(), out, err, in);
  }

  // Writes the bytes to a file below the folder, creating its folders.
  void Write(const std::string& name, const std::string& text) const {
    fs.CreateFolderPath(home / name);
    fs.WriteFile(home / name, text);
  }

  // What the last run wrote to stdout, line by line, the folder shown as "<dir>".
  std::vector<std::string> OutLines() const { return home.MaskedLines(out.str()); }

  // OutLines with the date-time after two TABs cut off the start and end lines of a run.
  std::vector<std::string> OutLinesWithoutTimes() const {
    std::vector<std::string> lines = OutLines();
    for (std::string& line : lines) {
      if (std::size_t tabs = line.find("\t\t2"); tabs != std::string::npos) line.erase(tabs);
    }
    return lines;
  }

  TestFolder home;
  FileSystem fs;
  std::ostringstream out;
  std::ostringstream err;
  std::istringstream in;
};

}  // namespace pentrak::cli
