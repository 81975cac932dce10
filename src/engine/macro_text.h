#pragma once

#include <string>
#include <string_view>

namespace pentrak {

// Small text operations of the macro engine. They work in place or append, so the expansion of
// a line reuses its buffers instead of building fresh strings.

inline bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// Whether text begins with a and b written one after the other.
inline bool StartsWithPair(std::string_view text, std::string_view a, std::string_view b) {
  return text.size() >= a.size() + b.size() && text.substr(0, a.size()) == a &&
         text.substr(a.size(), b.size()) == b;
}

// Position of the first a directly followed by b, searched from from; npos when there is none.
std::size_t FindPair(std::string_view text, std::string_view a, std::string_view b,
                     std::size_t from = 0);

// Whether text contains a directly followed by b.
inline bool ContainsPair(std::string_view text, std::string_view a, std::string_view b) {
  return FindPair(text, a, b) != std::string_view::npos;
}

// Cuts the first occurrence of part out of text; false when there is none (or part is empty).
bool RemoveFirst(std::string& text, std::string_view part);

// Replaces every occurrence of from by to, left to right; scratch is the other half of the swap
// and keeps its capacity for the next call. to must not point into text.
void ReplaceAll(std::string& text, std::string_view from, std::string_view to,
                std::string& scratch);

// Appends text with every apostrophe written as backslash, apostrophe.
void AppendEscapedQuotes(std::string& out, std::string_view text);

// The leading run of spaces and tab characters.
std::string_view LeadingWhitespace(std::string_view text);

// True for an empty text or one made of spaces only.
bool IsBlankText(std::string_view text);

}  // namespace pentrak
