#pragma once

#include <cstddef>
#include <vector>

namespace pentrak {

// The slots a table limit of the project allows. The project properties accept any integer, so
// a limit below 1 must not crash anything: it allows none, and the limit's error comes at the
// first entry of that kind.
inline std::size_t AllowedSlots(short limit) {
  return limit > 0 ? static_cast<std::size_t>(limit) : 0;
}

// The slot at index of a table that grows as it fills: a shorter table first gets the missing
// slots, empty. Tables are sized by what they hold, never by the limit that bounds them.
template <typename Slot>
Slot& SlotAt(std::vector<Slot>& table, std::size_t index) {
  if (index >= table.size()) table.resize(index + 1);
  return table[index];
}

}  // namespace pentrak
