#include "generation/command_line.h"

#include <array>

#include "platform/text_lines.h"

namespace pentrak {

namespace {

enum class Option { kMode, kProject, kCommand, kWindow };

struct OptionName {
  std::string_view text;
  Option option;
};

constexpr std::array<OptionName, 4> kOptions = {{
    {"/mode=", Option::kMode},
    {"/project=", Option::kProject},
    {"/command=", Option::kCommand},
    {"/window=", Option::kWindow},
}};

// The value as the user wrote it, except where file names ignore case anyway.
std::string ValueCase(std::string_view value) {
#ifdef _WIN32
  return ToLowerAscii(value);
#else
  return std::string(value);
#endif
}

void Store(BatchSettings& settings, Option option, std::string value) {
  switch (option) {
    case Option::kMode:
      settings.batch = value == "1" || value == "2";
      settings.exit_when_done = value == "2";
      break;
    case Option::kProject:
      settings.project_path = std::move(value);
      break;
    case Option::kCommand:
      settings.command = std::move(value);
      break;
    case Option::kWindow:
      settings.window_mode = value == "1" ? 1 : 0;
      break;
  }
}

}  // namespace

BatchSettings ParseCommandLine(std::string_view command_line) {
  std::string_view text = TrimBlanks(command_line);
  std::string lower = ToLowerAscii(text);
  BatchSettings settings;
  for (std::size_t i = 0; i < lower.size(); ++i) {
    for (const OptionName& name : kOptions) {
      if (lower.compare(i, name.text.size(), name.text) != 0) continue;
      std::size_t start = i + name.text.size();
      std::size_t end = lower.find('/', start);
      if (end == std::string::npos) end = lower.size();
      Store(settings, name.option, ValueCase(TrimBlanks(text.substr(start, end - start))));
      break;
    }
  }
  return settings;
}

bool StartBatchTimer(const BatchSettings& settings) {
  return settings.batch && !settings.project_path.empty();
}

}  // namespace pentrak
