#pragma once

// A project with the new-project settings and two tag sets, for the macro engine's tests and
// benchmarks (no test framework needed).

#include <string>
#include <string_view>
#include <utility>

#include "settings/project_settings.h"

namespace pentrak::testing {

inline MacroTags DefaultTags() {
  return {"[@", "]", "(@", ")", "*", "!", "^", "\\", "&", "{", "}{", "}", "$", "\\\\"};
}

// Every tag differs from its default, so a tag written into the code would show.
inline MacroTags OtherTags() {
  return {"<%", "%>", "{{", "}}", "#", "~", "..", "`", "+", "?", "|", "/", "=", "__"};
}

// The settings of a new project, with the given tags.
inline ProjectSettings TestProject(const MacroTags& tags) {
  ProjectSettings p;
  p.name = "New Project";
  p.definition_file = "project.txt";
  p.tags = tags;
  p.delete_line = 1;
  p.delete_line_exceptions = "ROOT_DIR";
  p.max_nested_macros = 50;
  p.reserved_date_macro = "DATE";
  p.optimization_level = 1;
  p.max_folders = 25;
  p.max_globals = 5;
  p.max_docs = 50;
  p.max_folder_globals = 5;
  p.max_content_files = 5;
  p.max_global_macros = 100;
  p.max_folder_global_macros = 50;
  p.max_content_file_macros = 50;
  p.max_project_macros = 5;
  p.max_parameters = 5;
  p.reserved_project_name_macro = "PENTRAK_PROJECT_NAME";
  p.reserved_folder_name_macro = "PENTRAK_FOLDER_NAME";
  p.reserved_document_name_macro = "PENTRAK_DOCUMENT_NAME";
  p.display_project_macro_file = 1;
  p.macro_end_line = tags.macro_start + tags.macro_end;
  return p;
}

// Writes text with its tags taken from a tag set: <S> start, <E> end, <PS> and <PE> parameter
// start and end, <W> wildcard, <N> non-blank delete, <P> parent reference, <Q> quote escape,
// <C> concatenate, <IF> <ELSE> <FI> conditional start, else and end, <R> required, <LC> line
// continuation, <EL> the end line of a definition. Any other <...> stays as written.
inline std::string Tagged(std::string_view text, const MacroTags& t) {
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
