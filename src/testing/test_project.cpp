#include "testing/test_project.h"

#include <iterator>

#include "settings/project_file.h"

namespace pentrak::testing {

MacroTags DefaultTags() {
  ProjectSettings fresh;
  SetNewProjectDefaults(fresh);
  return fresh.tags;
}

ProjectSettings NewProject(const MacroTags& tags) {
  ProjectSettings project;
  SetNewProjectDefaults(project);
  project.tags = tags;
  project.macro_end_line = tags.macro_start + tags.macro_end;
  return project;
}

ProjectSettings NewProject() { return NewProject(DefaultTags()); }

std::string Tagged(std::string_view text, const MacroTags& t) {
  // The codes in the order of the tags they stand for.
  static constexpr std::string_view kCodes[] = {"S", "E", "PS", "PE",   "W",  "N", "P",
                                                "Q", "C", "IF", "ELSE", "FI", "R", "LC"};
  const std::string* const tags[] = {
      &t.macro_start, &t.macro_end,         &t.parameter_start,  &t.parameter_end,
      &t.wildcard,    &t.non_blank_delete,  &t.parent_reference, &t.single_quote_escape,
      &t.concatenate, &t.conditional_start, &t.conditional_else, &t.conditional_end,
      &t.required,    &t.line_continuation};
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t close = text[i] == '<' ? text.find('>', i) : std::string_view::npos;
    const std::string_view code =
        close == std::string_view::npos ? std::string_view() : text.substr(i + 1, close - i - 1);
    const std::string* replacement = nullptr;
    for (std::size_t k = 0; k < std::size(kCodes); ++k) {
      if (kCodes[k] == code) replacement = tags[k];
    }
    if (code == "EL") {
      out.append(t.macro_start).append(t.macro_end);
    } else if (replacement != nullptr) {
      out.append(*replacement);
    } else {
      out.push_back(text[i]);
      ++i;
      continue;
    }
    i = close + 1;
  }
  return out;
}

}  // namespace pentrak::testing
