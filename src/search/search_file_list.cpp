#include "search/search_file_list.h"

namespace pentrak {

namespace {
constexpr std::size_t kMinimumSlots = 10;
constexpr std::size_t kGrowth = 100;
}  // namespace

void SearchFileList::Reset() {
  for (std::size_t i = 0; i < used_; ++i) slots_[i].clear();
  used_ = 0;
  listed_.clear();
  if (slots_.size() < kMinimumSlots) slots_.resize(kMinimumSlots);
}

void SearchFileList::Add(const std::string& name) {
  if (name.empty()) return;
  if (used_ == slots_.size()) slots_.resize(slots_.size() + kGrowth);
  if (!listed_.insert(name).second) return;
  slots_[used_++] = name;
}

std::vector<std::string> SearchFileList::Names() const {
  return {slots_.begin(), slots_.begin() + static_cast<std::ptrdiff_t>(used_)};
}

}  // namespace pentrak
