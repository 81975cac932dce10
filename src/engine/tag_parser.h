#pragma once

#include <string>
#include <string_view>

namespace pentrak {

struct MacroTables;
struct MacroTags;
struct ProjectSettings;

// A line cut around its first macro tag; the views point into the line.
struct ParsedTag {
  std::string_view before;
  std::string_view tag;  // start tag through end tag
  std::string_view after;
};

// The modifiers found on a tag.
struct TagModifiers {
  int parent_level = -1;  // one per parent-reference tag, counting from -1
  bool conditional_start = false;
  bool conditional_else = false;
  bool conditional_end = false;
  bool has_parameters = false;
  bool wildcard = false;
  bool non_blank_delete = false;
  bool quote_escape = false;
  bool concatenate = false;
  bool required = false;
};

// Cuts line around its first tag. A parameter value may hold the macro end tag, so a tag with
// parameters ends at the parameter end tag directly followed by the macro end tag. Throws Error
// 10001 "Invalid tag in string: " + line when the tag has no end.
ParsedTag LocateFirstTag(const MacroTags& tags, std::string_view line);

// Recognises and removes the modifiers of tag in their fixed order, parsing its parameters into
// the call-parameter list. state is the document's conditional-block state; a conditional tag in
// the wrong state empties tag and sets warning. Throws Error 10001 for a bad parameter list.
TagModifiers RecogniseModifiers(const ProjectSettings& project, MacroTables& macros,
                                std::string& tag, short state, std::string& warning);

// Removes the parameter list from tag and stores its pairs in the call-parameter list; warning
// is emptied first and set when parameters beyond the limit were dropped. Throws Error 10001
// "Error processing macro tag and parameters: " + the trimmed tag.
void ParseMacroParameters(const ProjectSettings& project, MacroTables& macros, std::string& tag,
                          std::string& warning);

// Empties every pair of the call-parameter list and marks it empty.
void ClearCallParameters(MacroTables& macros);

// The value of the first call parameter with this reference; "" with found false when none has.
// The view stays valid until the list is next rewritten.
std::string_view GetCallParameter(const MacroTables& macros, std::string_view reference,
                                  bool& found);

}  // namespace pentrak
