#pragma once

#include <set>
#include <string>

namespace pentrak {

class FileSystem;

// Clears the folders a command visits of the temporary files a killed run left there, each
// folder once per command.
class LeftoverSweep {
 public:
  // Removes the leftovers in the folder of path (the current folder for a bare name) unless this
  // sweep has been there already.
  void Visit(const FileSystem& fs, const std::string& path);

 private:
  std::set<std::string> swept_;
};

}  // namespace pentrak
