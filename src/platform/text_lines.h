#pragma once

#include <string>
#include <string_view>

namespace pentrak {

inline constexpr std::string_view kCrLf = "\r\n";

// Walks the lines of a text: a line ends at LF or CR LF; a lone CR stays inside its line. A
// final line without a line end is a line; an empty text has none.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : text_(text) {}

  // Sets line to the next line (without its end) and returns true, or returns false at the end.
  bool Next(std::string_view& line);
  // Where the next line starts: the bytes read so far.
  std::size_t position() const { return pos_; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// Appends line and CR LF to out.
inline void AppendLine(std::string& out, std::string_view line) {
  out.append(line);
  out.append(kCrLf);
}

// Text helpers shared by every subsystem.
std::string PadLeft(std::string_view text, std::string_view pad, std::size_t width);
std::string Plural(long long n, std::string_view word);
std::string_view TrimBlanks(std::string_view text);
std::string_view TrimTrailingBlanks(std::string_view text);
std::string ToLowerAscii(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// Position of find in text at or after from, or npos; ignore_case compares ASCII letters without
// regard to case. An empty find is never found.
std::size_t FindText(std::string_view text, std::string_view find, std::size_t from,
                     bool ignore_case);
// The text with every occurrence of find replaced, left to right; an empty find changes nothing.
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement);

// The signed 16-bit conversion of settings integers; nothing for any other text (empty included).
bool ParseInt16(std::string_view text, short& value);

}  // namespace pentrak
