#pragma once

#include <string>
#include <string_view>

namespace pentrak {

class Clock;
struct MacroTables;
struct ProjectDefinition;
struct ProjectSettings;
struct ScopeSwitches;

// Everything the expansion of one document's lines reads: the project's tags and switches,
// the definition (document and folder switches, names), the loaded macro tables and the
// call-parameter list, and the clock for the date macro.
struct ExpansionContext {
  const ProjectSettings& project;
  const ProjectDefinition& definition;
  MacroTables& macros;
  const Clock& clock;
};

// Conditional-block state of the document being generated.
inline constexpr short kOutsideBlock = 0;
inline constexpr short kBlockIncluded = 1;
inline constexpr short kBlockExcluded = 2;

// Replaces the first macro tag of line. result receives the text to write (empty: write
// nothing; may hold several lines joined by CR LF). state is the document's conditional-block
// state; warning is passed empty and receives a warning for the log. Throws Error 10001 for an
// invalid tag or parameter list. line must not point into result.
void ExpandMacroTag(const ExpansionContext& context, std::string_view line, std::string& result,
                    int folder_index, int document_index, short& state, std::string& warning);

// The lines of a wildcard tag: one per macro whose name contains the tag's text in front of the
// wildcard, in lookup order, each before + value + after (the wildcard in after replaced by the
// rest of the macro's name), joined by CR LF. Empty when nothing matches.
void ExpandWildcardTag(const ProjectSettings& project, MacroTables& macros, std::string_view before,
                       std::string_view tag, std::string_view after, const ScopeSwitches& switches,
                       std::string& result);

}  // namespace pentrak
