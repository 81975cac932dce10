#include "engine/macro_text.h"

namespace pentrak {

std::size_t FindPair(std::string_view text, std::string_view a, std::string_view b,
                     std::size_t from) {
  for (std::size_t pos = text.find(a, from); pos != std::string_view::npos;
       pos = text.find(a, pos + 1)) {
    if (text.substr(pos + a.size(), b.size()) == b) return pos;
  }
  return std::string_view::npos;
}

bool RemoveFirst(std::string& text, std::string_view part) {
  if (part.empty()) return false;
  std::size_t pos = text.find(part);
  if (pos == std::string::npos) return false;
  text.erase(pos, part.size());
  return true;
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to,
                std::string& scratch) {
  if (from.empty()) return;
  std::size_t pos = text.find(from);
  if (pos == std::string::npos) return;
  scratch.clear();
  std::size_t done = 0;
  while (pos != std::string::npos) {
    scratch.append(text, done, pos - done);
    scratch.append(to);
    done = pos + from.size();
    pos = text.find(from, done);
  }
  scratch.append(text, done, std::string::npos);
  text.swap(scratch);
}

void AppendEscapedQuotes(std::string& out, std::string_view text) {
  std::size_t done = 0;
  for (std::size_t pos = text.find('\''); pos != std::string_view::npos;
       pos = text.find('\'', done)) {
    out.append(text.substr(done, pos - done));
    out.append("\\'");
    done = pos + 1;
  }
  out.append(text.substr(done));
}

std::string_view LeadingWhitespace(std::string_view text) {
  std::size_t end = text.find_first_not_of(" \t");
  return end == std::string_view::npos ? text : text.substr(0, end);
}

bool IsBlankText(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace pentrak
