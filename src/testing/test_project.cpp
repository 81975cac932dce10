#include "testing/test_project.h"

#include <utility>

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
  const std::pair<std::string_view, const std::string*> codes[] = {{"S", &t.macro_start},
                                                                   {"E", &t.macro_end},
                                                                   {"PS", &t.parameter_start},
                                                                   {"PE", &t.parameter_end},
                                                                   {"W", &t.wildcard},
                                                                   {"N", &t.non_blank_delete},
                                                                   {"P", &t.parent_reference},
                                                                   {"Q", &t.single_quote_escape},
                                                                   {"C", &t.concatenate},
                                                                   {"IF", &t.conditional_start},
                                                                   {"ELSE", &t.conditional_else},
                                                                   {"FI", &t.conditional_end},
                                                                   {"R", &t.required},
                                                                   {"LC", &t.line_continuation}};
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t close = text[i] == '<' ? text.find('>', i) : std::string_view::npos;
    const std::string_view code =
        close == std::string_view::npos ? std::string_view() : text.substr(i + 1, close - i - 1);
    const std::string* replacement = nullptr;
    for (const auto& [name, tag] : codes) {
      if (name == code) replacement = tag;
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
