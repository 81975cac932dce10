#include "testing/test_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/text_lines.h"

namespace pentrak {

TestFolder::TestFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "pentrak-test-XXXXXX").string();
  path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
  if (path_.empty()) std::abort();
}

TestFolder::~TestFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TestFolder::Masked(std::string text) const {
  for (std::size_t at; (at = text.find(path_)) != std::string::npos;) {
    text.replace(at, path_.size(), "<dir>");
  }
  return text;
}

std::vector<std::string> TestFolder::MaskedLines(const std::string& text) const {
  std::vector<std::string> lines;
  std::string masked = Masked(text);
  LineCursor cursor(masked);
  for (std::string_view line; cursor.Next(line);) lines.emplace_back(line);
  return lines;
}

}  // namespace pentrak
