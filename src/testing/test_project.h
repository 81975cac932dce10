#pragma once

// For tests and benchmarks (no test framework needed): the settings of a new project, two tag
// sets, and texts written with tag codes.

#include <string>
#include <string_view>

#include "settings/project_settings.h"

namespace pentrak::testing {

// The tags of a new project.
MacroTags DefaultTags();

// Every tag differs from its default, so a tag written into the code would show.
inline MacroTags OtherTags() {
  return {"<%", "%>", "{{", "}}", "#", "~", "..", "`", "+", "?", "|", "/", "=", "__"};
}

// The settings a new project file gets, with its own tags or the given ones.
ProjectSettings NewProject();
ProjectSettings NewProject(const MacroTags& tags);

// Writes text with its tags taken from a tag set: <S> start, <E> end, <PS> and <PE> parameter
// start and end, <W> wildcard, <N> non-blank delete, <P> parent reference, <Q> quote escape,
// <C> concatenate, <IF> <ELSE> <FI> conditional start, else and end, <R> required, <LC> line
// continuation, <EL> the end line of a definition. Any other <...> stays as written.
std::string Tagged(std::string_view text, const MacroTags& t);

}  // namespace pentrak::testing
