#pragma once

#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

namespace pentrak {

// The file list shared by the search and the replace tool: names as the definition writes them,
// each listed once, in the order they were first added.
class SearchFileList {
 public:
  // Empties every slot and gives the list at least 10 slots; a larger list keeps its size.
  void Reset();

  // Adds name unless it is already listed (exact comparison). When the last slot is in use the
  // list first grows by 100 slots. An empty name adds nothing.
  void Add(const std::string& name);

  // The names in use, in order.
  std::vector<std::string> Names() const;

  std::size_t SlotCount() const { return slots_.size(); }

 private:
  std::vector<std::string> slots_;
  std::size_t used_ = 0;
  // The names in use again, so that a project of thousands of files is listed in linear time.
  std::unordered_set<std::string> listed_;
};

}  // namespace pentrak
