#include "generation/command_line.h"

#include <algorithm>
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

// The option that begins at position i of the lower-cased text, if any.
const OptionName* OptionAt(std::string_view lower, std::size_t i) {
  for (const OptionName& name : kOptions) {
    if (lower.substr(i, name.text.size()) == name.text) return &name;
  }
  return nullptr;
}

// Where the value that begins at start ends. POSIX paths and commands are full of "/", so there
// a value ends only at a blank that comes before one of the options.
std::size_t ValueEnd(std::string_view lower, std::size_t start, CommandLineRule rule) {
  if (rule == CommandLineRule::kWindows) return std::min(lower.find('/', start), lower.size());
  for (std::size_t blank = lower.find(' ', start); blank != std::string_view::npos;
       blank = lower.find(' ', blank + 1)) {
    if (OptionAt(lower, blank + 1) != nullptr) return blank;
  }
  return lower.size();
}

void Store(BatchSettings& settings, Option option, std::string value) {
  switch (option) {
    case Option::kMode:
      settings.batch = value == "1" || value == "2";
      settings.exit_when_done = value == "2";
      break;
    case Option::kProject:
      settings.project_path = std::move(value);
      settings.project_given = true;
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

BatchSettings ParseCommandLine(std::string_view command_line, CommandLineRule rule) {
  std::string_view text = TrimBlanks(command_line);
  std::string lower = ToLowerAscii(text);
  // Windows file names ignore case, so the whole line is read lower-cased there.
  std::string_view values = rule == CommandLineRule::kWindows ? std::string_view(lower) : text;
  BatchSettings settings;
  for (std::size_t i = 0; i < lower.size(); ++i) {
    const OptionName* name = OptionAt(lower, i);
    if (name == nullptr) continue;
    std::size_t start = i + name->text.size();
    std::size_t end = ValueEnd(lower, start, rule);
    Store(settings, name->option, std::string(TrimBlanks(values.substr(start, end - start))));
    // The scan goes on after the value: an option name inside a POSIX path is part of it.
    i = end - 1;
  }
  return settings;
}

bool StartBatchTimer(const BatchSettings& settings) {
  return settings.batch && settings.project_given;
}

}  // namespace pentrak
