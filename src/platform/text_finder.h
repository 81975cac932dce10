#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace pentrak {

// Finds one text again and again in large buffers, such as whole files: memmem when case
// counts, otherwise a Horspool search over letters compared without regard to case (as
// FindText compares them), so that no lower-cased copy of the buffer is made.
class TextFinder {
 public:
  TextFinder(std::string_view find, bool ignore_case);

  // Position of the text at or after from, or npos; an empty text is never found.
  std::size_t Find(std::string_view text, std::size_t from) const;
  std::size_t size() const { return find_.size(); }

 private:
  unsigned char Fold(char c) const { return fold_[static_cast<unsigned char>(c)]; }

  std::string find_;  // folded when ignoring case
  bool ignore_case_;
  std::array<unsigned char, 256> fold_{};
  std::array<std::size_t, 256> shift_{};
};

}  // namespace pentrak
