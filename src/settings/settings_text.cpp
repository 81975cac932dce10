#include "settings/settings_text.h"

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/text_lines.h"

namespace pentrak {

SettingsText LoadSettingsText(const FileSystem& fs, const std::string& path) {
  std::string bytes = fs.ReadBoundedFile(path, kMaxSettingsFileBytes);
  SettingsText text;
  text.reserve(bytes.size() + bytes.size() / 16);
  LineCursor cursor(bytes);
  std::string_view line;
  while (cursor.Next(line)) AppendLine(text, line);
  return text;
}

std::string GetSettingValue(std::string_view text, std::string_view key,
                            std::string_view default_value) {
  // The framing line ends let a key on the first line, and a last line without its own end,
  // be found like any other; the "=" keeps a key from matching the start of a longer one.
  std::string framed;
  framed.reserve(text.size() + 4);
  framed.append(kCrLf).append(text).append(kCrLf);
  std::string pattern;
  pattern.append(kCrLf).append(key).append("=");

  std::size_t start = framed.find(pattern);
  if (start == std::string::npos) return std::string(default_value);
  std::size_t value_start = start + pattern.size();
  std::size_t value_end = framed.find(kCrLf, start + 1);
  return framed.substr(value_start, value_end - value_start);
}

std::string MakeSettingLine(std::string_view key, std::string_view value) {
  std::string line(key);
  line += '=';
  line.append(TrimBlanks(value));
  return line;
}

std::string GetFileSettingValue(const FileSystem& fs, const std::string& path, std::string_view key,
                                const std::string& current_project_path) {
  const std::string& file = path.empty() ? current_project_path : path;
  try {
    return GetSettingValue(LoadSettingsText(fs, file), key, "");
  } catch (const Error&) {
    return "";
  }
}

short SettingInteger(std::string_view value, std::string_view key) {
  short number = 0;
  if (!ParseInt16(value, number)) {
    throw Error(kErrorInvalidInteger, "Invalid integer value for " + std::string(key));
  }
  return number;
}

}  // namespace pentrak
