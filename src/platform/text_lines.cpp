#include "platform/text_lines.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace pentrak {

bool LineCursor::Next(std::string_view& line) {
  if (pos_ >= text_.size()) return false;
  std::size_t end = text_.find('\n', pos_);
  std::size_t next;
  if (end == std::string_view::npos) {
    end = text_.size();
    next = end;
  } else {
    next = end + 1;
  }
  std::size_t stop = end;
  if (stop > pos_ && text_[stop - 1] == '\r' && end != text_.size()) --stop;
  line = text_.substr(pos_, stop - pos_);
  pos_ = next;
  return true;
}

std::string PadLeft(std::string_view text, std::string_view pad, std::size_t width) {
  std::string result(text);
  if (pad.empty()) return result;
  while (result.size() < width) result.insert(0, pad);
  return result;
}

std::string Plural(long long n, std::string_view word) {
  std::string result = std::to_string(n);
  result += ' ';
  result.append(word);
  if (n != 1) result += 's';
  return result;
}

std::string_view TrimBlanks(std::string_view text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::string_view TrimTrailingBlanks(std::string_view text) {
  std::size_t last = text.find_last_not_of(' ');
  if (last == std::string_view::npos) return {};
  return text.substr(0, last + 1);
}

std::string ToLowerAscii(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return result;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::size_t FindText(std::string_view text, std::string_view find, std::size_t from,
                     bool ignore_case) {
  if (find.empty() || from > text.size()) return std::string_view::npos;
  if (!ignore_case) return text.find(find, from);
  auto same = [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  };
  auto found = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(),
                           find.begin(), find.end(), same);
  if (found == text.end()) return std::string_view::npos;
  return static_cast<std::size_t>(found - text.begin());
}

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement) {
  if (find.empty()) return std::string(text);
  std::string result;
  std::size_t from = 0;
  for (std::size_t at = text.find(find); at != std::string_view::npos; at = text.find(find, from)) {
    result.append(text.substr(from, at - from)).append(replacement);
    from = at + find.size();
  }
  result.append(text.substr(from));
  return result;
}

bool ParseInt16(std::string_view text, short& value) {
  // Blanks around the number are forgiven: a hand-edited "max-docs=50 " still reads.
  text = TrimBlanks(text);
  if (text.empty()) return false;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (*first == '+') ++first;
  int parsed = 0;
  auto [ptr, ec] = std::from_chars(first, last, parsed);
  if (ec != std::errc() || ptr != last || first == last) return false;
  if (parsed < -32768 || parsed > 32767) return false;
  value = static_cast<short>(parsed);
  return true;
}

}  // namespace pentrak
