#include "engine/tag_parser.h"

#include <algorithm>
#include <cstdint>

#include "engine/macro_tables.h"
#include "engine/macro_text.h"
#include "platform/error.h"
#include "platform/growing_table.h"
#include "platform/text_lines.h"
#include "settings/project_settings.h"

namespace pentrak {

namespace {

[[noreturn]] void ThrowInvalidTag(std::string_view line) {
  std::string text = "Invalid tag in string: ";
  text.append(line);
  throw Error(kErrorInvalidMacroTag, std::move(text));
}

[[noreturn]] void ThrowBadParameters(std::string_view trimmed_tag) {
  std::string text = "Error processing macro tag and parameters: ";
  text.append(trimmed_tag);
  throw Error(kErrorInvalidMacroTag, std::move(text));
}

// The value of one "(@name:value)" piece: after the first ":", up to the parameter end tag that
// closes the piece.
std::string_view PieceValue(std::string_view piece, std::size_t colon,
                            std::string_view parameter_end) {
  std::string_view value = piece.substr(colon + 1);
  std::size_t close = parameter_end.empty() ? std::string_view::npos : value.rfind(parameter_end);
  return close == std::string_view::npos ? value : value.substr(0, close);
}

void StoreCallParameter(CallParameter& pair, std::string_view piece,
                        const ProjectSettings& project) {
  std::size_t colon = piece.find(':');
  if (colon == std::string_view::npos) {
    pair.reference.assign(piece);
    pair.value.clear();
    return;
  }
  pair.reference.assign(TrimBlanks(piece.substr(0, colon)));
  pair.reference.append(project.tags.parameter_end);
  std::string_view value = PieceValue(piece, colon, project.tags.parameter_end);
  pair.value.assign(project.trim_parameter_values == 1 ? TrimBlanks(value) : value);
}

// Splits a parameter list "(@a:1)(@b)" into the call-parameter list; returns true when pieces
// were left over because the list is full.
bool StoreCallParameters(const ProjectSettings& project, MacroTables& macros,
                         std::string_view list) {
  const std::string& parameter_start = project.tags.parameter_start;
  const std::size_t limit = AllowedSlots(project.max_parameters);
  std::size_t pos = 0;
  std::size_t k = 0;
  bool last = false;
  while (pos + 1 < list.size() && k < limit && !last) {
    std::size_t next = list.find(parameter_start, pos + 1);
    if (next == std::string_view::npos) {
      next = list.size();
      last = true;
    }
    StoreCallParameter(SlotAt(macros.call_parameters, k), TrimBlanks(list.substr(pos, next - pos)),
                       project);
    ++k;
    macros.call_parameter_count = k;
    pos = next;
  }
  return k >= limit && !last && pos < list.size();
}

// Removes the first occurrence of a modifier tag when the tag carries it right after a start
// tag; false when it does not, or when the modifier tag is empty.
bool TakeModifier(std::string& tag, const MacroTags& tags, const std::string& modifier) {
  if (modifier.empty() || !ContainsPair(tag, tags.macro_start, modifier)) return false;
  RemoveFirst(tag, modifier);
  return true;
}

// An else or end tag is taken inside a block; outside one it only warns and empties the tag.
bool TakeInBlockTag(const MacroTags& tags, std::string& tag, short state,
                    const std::string& modifier, std::string_view kind, std::string& warning) {
  if (!ContainsPair(tag, tags.macro_start, modifier)) return false;
  if (state != 0) return RemoveFirst(tag, modifier);
  warning.assign("WARNING: Conditional ").append(kind);
  warning.append(" tags must appear within conditional blocks. ").append(tag);
  warning.append(" does not appear within a conditional block.");
  tag.clear();
  return false;
}

void RecogniseConditionals(const MacroTags& tags, std::string& tag, short state,
                           TagModifiers& found, std::string& warning) {
  if (tags.conditional_start.empty() || tags.conditional_end.empty()) return;
  if (ContainsPair(tag, tags.macro_start, tags.conditional_start)) {
    if (state == 0) {
      found.conditional_start = RemoveFirst(tag, tags.conditional_start);
    } else {
      warning.assign("WARNING: Conditional blocks cannot be nested. ").append(tag);
      warning.append(" appears within a conditional block.");
      tag.clear();
    }
  }
  if (!tags.conditional_else.empty()) {
    found.conditional_else =
        TakeInBlockTag(tags, tag, state, tags.conditional_else, "else", warning);
  }
  if (!found.conditional_start && !found.conditional_else) {
    found.conditional_end = TakeInBlockTag(tags, tag, state, tags.conditional_end, "end", warning);
  }
}

// Whether the tag holds the first byte of any special tag string. Every special tag is looked
// for in the tag, so a tag without any of those bytes (nearly every tag of a page) carries none:
// one pass over it spares the dozen searches that would each find nothing.
bool MayHoldSpecialTags(const MacroTags& tags, std::string_view tag) {
  std::uint64_t first_bytes[4] = {};  // one bit per byte value
  for (const std::string* special :
       {&tags.parent_reference, &tags.conditional_start, &tags.conditional_else,
        &tags.conditional_end, &tags.parameter_start, &tags.wildcard, &tags.non_blank_delete,
        &tags.single_quote_escape, &tags.concatenate, &tags.required}) {
    if (special->empty()) continue;
    const auto byte = static_cast<unsigned char>(special->front());
    first_bytes[byte >> 6] |= std::uint64_t{1} << (byte & 63);
  }
  for (char c : tag) {
    const auto byte = static_cast<unsigned char>(c);
    if ((first_bytes[byte >> 6] >> (byte & 63)) & 1) return true;
  }
  return false;
}

}  // namespace

ParsedTag LocateFirstTag(const MacroTags& tags, std::string_view line) {
  const std::size_t first = line.find(tags.macro_start);
  if (first == std::string_view::npos || tags.macro_end.empty()) ThrowInvalidTag(line);
  std::size_t end = line.find(tags.macro_end, first + 1);
  if (end == std::string_view::npos) ThrowInvalidTag(line);
  std::size_t last = end + tags.macro_end.size() - 1;
  if (!tags.parameter_start.empty()) {
    std::size_t parameter = line.find(tags.parameter_start, first + 1);
    if (parameter != std::string_view::npos && parameter < last) {
      end = FindPair(line, tags.parameter_end, tags.macro_end, first + 1);
      if (end == std::string_view::npos) ThrowInvalidTag(line);
      last = end + tags.parameter_end.size() + tags.macro_end.size() - 1;
    }
  }
  return {line.substr(0, first), line.substr(first, last + 1 - first), line.substr(last + 1)};
}

TagModifiers RecogniseModifiers(const ProjectSettings& project, MacroTables& macros,
                                std::string& tag, short state, std::string& warning) {
  const MacroTags& tags = project.tags;
  TagModifiers found;
  if (!MayHoldSpecialTags(tags, tag)) {
    if (!tags.parameter_start.empty() && !tags.parameter_end.empty()) ClearCallParameters(macros);
    return found;
  }
  while (RemoveFirst(tag, tags.parent_reference)) ++found.parent_level;
  RecogniseConditionals(tags, tag, state, found, warning);
  if (!tags.parameter_start.empty() && !tags.parameter_end.empty()) {
    if (Contains(tag, tags.parameter_start)) {
      found.has_parameters = true;
      ParseMacroParameters(project, macros, tag, warning);
    } else {
      ClearCallParameters(macros);
    }
  }
  const bool conditional =
      found.conditional_start || found.conditional_else || found.conditional_end;
  found.wildcard = !found.has_parameters && !tags.wildcard.empty() && Contains(tag, tags.wildcard);
  if (conditional || found.wildcard) return found;
  if (!found.has_parameters) {
    found.non_blank_delete = TakeModifier(tag, tags, tags.non_blank_delete);
    if (found.non_blank_delete) return found;
    found.quote_escape = TakeModifier(tag, tags, tags.single_quote_escape);
  }
  found.concatenate = TakeModifier(tag, tags, tags.concatenate);
  if (!found.concatenate) found.required = TakeModifier(tag, tags, tags.required);
  return found;
}

void ParseMacroParameters(const ProjectSettings& project, MacroTables& macros, std::string& tag,
                          std::string& warning) {
  warning.clear();
  ClearCallParameters(macros);
  const MacroTags& tags = project.tags;
  const std::string_view trimmed = TrimBlanks(tag);
  const std::size_t list_start = trimmed.find(tags.parameter_start);
  const std::size_t list_close = FindPair(trimmed, tags.parameter_end, tags.macro_end);
  if (tags.parameter_start.empty() || list_start == std::string_view::npos ||
      list_close == std::string_view::npos || list_close < list_start) {
    ThrowBadParameters(trimmed);
  }
  const std::size_t list_end = list_close + tags.parameter_end.size();
  if (StoreCallParameters(project, macros,
                          TrimBlanks(trimmed.substr(list_start, list_end - list_start)))) {
    warning = "WARNING: The maximum number of parameters have been exceeded in the Macro ";
    warning.append(trimmed);
    warning.append(".");
  }
  // Rewrite in place: the trimmed name in front of the list, then the trimmed rest behind it.
  const std::size_t base = static_cast<std::size_t>(trimmed.data() - tag.data());
  const std::string_view head = TrimBlanks(trimmed.substr(0, list_start));
  const std::string_view tail = TrimBlanks(trimmed.substr(list_end));
  const std::size_t head_begin = head.empty() ? base : head.data() - tag.data();
  const std::size_t head_end = head_begin + head.size();
  const std::size_t tail_begin = tail.empty() ? base + list_end : tail.data() - tag.data();
  const std::size_t tail_end = tail_begin + tail.size();
  tag.erase(tail_end);
  tag.erase(head_end, tail_begin - head_end);
  tag.erase(0, head_begin);
}

void ClearCallParameters(MacroTables& macros) {
  for (std::size_t k = 0; k < macros.call_parameter_count; ++k) {
    macros.call_parameters[k].reference.clear();
    macros.call_parameters[k].value.clear();
  }
  macros.call_parameter_count = 0;
}

std::string_view GetCallParameter(const MacroTables& macros, std::string_view reference,
                                  bool& found) {
  for (std::size_t k = 0; k < macros.call_parameter_count; ++k) {
    const CallParameter& pair = macros.call_parameters[k];
    if (pair.reference == reference) {
      found = true;
      return pair.value;
    }
  }
  found = false;
  return {};
}

}  // namespace pentrak
