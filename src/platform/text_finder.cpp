#include "platform/text_finder.h"

#include <cctype>
#include <cstring>

namespace pentrak {

TextFinder::TextFinder(std::string_view find, bool ignore_case)
    : find_(find), ignore_case_(ignore_case) {
  if (!ignore_case_) return;
  for (std::size_t c = 0; c < fold_.size(); ++c) {
    fold_[c] = static_cast<unsigned char>(std::tolower(static_cast<int>(c)));
  }
  for (char& c : find_) c = static_cast<char>(Fold(c));
  // How far the window may move when its last byte is c: to the next place c could match.
  shift_.fill(find_.size());
  for (std::size_t i = 0; i + 1 < find_.size(); ++i) {
    shift_[static_cast<unsigned char>(find_[i])] = find_.size() - 1 - i;
  }
}

std::size_t TextFinder::Find(std::string_view text, std::size_t from) const {
  const std::size_t m = find_.size();
  if (m == 0 || from > text.size() || text.size() - from < m) return std::string_view::npos;
  if (!ignore_case_) {
    const void* found = ::memmem(text.data() + from, text.size() - from, find_.data(), m);
    if (found == nullptr) return std::string_view::npos;
    return static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
  }
  const std::size_t last = m - 1;
  for (std::size_t at = from; at + m <= text.size();) {
    std::size_t j = last;
    while (Fold(text[at + j]) == static_cast<unsigned char>(find_[j])) {
      if (j == 0) return at;
      --j;
    }
    at += shift_[Fold(text[at + last])];
  }
  return std::string_view::npos;
}

}  // namespace pentrak
