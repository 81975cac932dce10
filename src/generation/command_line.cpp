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

// The batch option that option_text ("/name=") names, whatever its case, if any.
const OptionName* KnownOption(std::string_view option_text) {
  for (const OptionName& name : kOptions) {
    if (EqualsIgnoreCase(option_text, name.text)) return &name;
  }
  return nullptr;
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

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

// The option that begins at position i of the lower-cased text, if any.
const OptionName* OptionAt(std::string_view lower, std::size_t i) {
  for (const OptionName& name : kOptions) {
    if (lower.substr(i, name.text.size()) == name.text) return &name;
  }
  return nullptr;
}

// Windows file names ignore case, so the whole line is read lower-cased; an option may begin
// anywhere and its value runs to the next "/".
BatchSettings ParseWindows(std::string_view text) {
  std::string lower = ToLowerAscii(text);
  BatchSettings settings;
  for (std::size_t i = 0; i < lower.size(); ++i) {
    const OptionName* name = OptionAt(lower, i);
    if (name == nullptr) continue;
    std::size_t start = i + name->text.size();
    std::size_t end = std::min(lower.find('/', start), lower.size());
    Store(settings, name->option, std::string(TrimBlanks(lower.substr(start, end - start))));
    i = end - 1;  // the "/" that ended the value may begin the next option
  }
  return settings;
}

// Where the next option after a blank begins, searching from position from; npos when none.
std::size_t NextOptionAfterBlank(std::string_view text, std::size_t from) {
  for (std::size_t blank = text.find(' ', from); blank != std::string_view::npos;
       blank = text.find(' ', blank + 1)) {
    if (OptionLength(text.substr(blank + 1)) > 0) return blank + 1;
  }
  return std::string_view::npos;
}

// POSIX paths and commands are full of "/", so a value runs to the blank before the next
// option; an unknown option is passed over with its value.
BatchSettings ParsePosix(std::string_view text) {
  BatchSettings settings;
  std::size_t option = OptionLength(text) > 0 ? 0 : NextOptionAfterBlank(text, 0);
  while (option != std::string_view::npos) {
    std::size_t start = option + OptionLength(text.substr(option));
    std::size_t next = NextOptionAfterBlank(text, start);
    std::size_t end = next == std::string_view::npos ? text.size() : next - 1;
    if (const OptionName* name = KnownOption(text.substr(option, start - option))) {
      Store(settings, name->option, std::string(TrimBlanks(text.substr(start, end - start))));
    }
    option = next;
  }
  return settings;
}

}  // namespace

BatchSettings ParseCommandLine(std::string_view command_line, CommandLineRule rule) {
  std::string_view text = TrimBlanks(command_line);
  return rule == CommandLineRule::kWindows ? ParseWindows(text) : ParsePosix(text);
}

std::size_t OptionLength(std::string_view text) {
  if (text.empty() || text[0] != '/') return 0;
  std::size_t i = 1;
  while (i < text.size() && IsAsciiLetter(text[i])) ++i;
  return i > 1 && i < text.size() && text[i] == '=' ? i + 1 : 0;
}

bool BeginsWithBatchOption(std::string_view text) {
  std::size_t length = OptionLength(text);
  return length > 0 && KnownOption(text.substr(0, length)) != nullptr;
}

bool AsksForBatchRun(const BatchSettings& settings) {
  return settings.batch && settings.project_given;
}

}  // namespace pentrak
