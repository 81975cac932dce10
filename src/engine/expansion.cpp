#include "engine/expansion.h"

#include "engine/content_file.h"
#include "engine/date_format.h"
#include "engine/macro_lookup.h"
#include "engine/macro_tables.h"
#include "engine/macro_text.h"
#include "engine/tag_parser.h"
#include "platform/clock.h"
#include "platform/text_lines.h"
#include "project/definition.h"
#include "settings/project_settings.h"

namespace pentrak {

namespace {

const Folder* FolderAt(const ProjectDefinition& definition, int folder_index) {
  if (folder_index < 0 || static_cast<std::size_t>(folder_index) >= definition.folders.size()) {
    return nullptr;
  }
  return &definition.folders[static_cast<std::size_t>(folder_index)];
}

const Document* DocumentAt(const ProjectDefinition& definition, int folder_index,
                           int document_index) {
  const Folder* folder = FolderAt(definition, folder_index);
  if (folder == nullptr || document_index < 0 ||
      static_cast<std::size_t>(document_index) >= folder->documents.size()) {
    return nullptr;
  }
  return &folder->documents[static_cast<std::size_t>(document_index)];
}

ScopeSwitches DocumentSwitches(const ProjectDefinition& definition, int folder_index,
                               int document_index) {
  ScopeSwitches switches;
  if (const Folder* folder = FolderAt(definition, folder_index)) {
    switches.no_project_macro_file = folder->no_project_macro_file != 0;
  }
  if (const Document* document = DocumentAt(definition, folder_index, document_index)) {
    switches.no_folder_globals = document->no_folder_globals != 0;
    switches.no_project_globals = document->no_project_globals != 0;
  }
  return switches;
}

// Whether tag is the start tag, name and end tag, without composing that text.
bool IsTagNamed(std::string_view tag, const MacroTags& tags, std::string_view name) {
  return tag.size() == tags.macro_start.size() + name.size() + tags.macro_end.size() &&
         StartsWithPair(tag, tags.macro_start, name) &&
         tag.substr(tags.macro_start.size() + name.size()) == tags.macro_end;
}

bool IsReserved(std::string_view tag, const MacroTags& tags, const std::string& name) {
  return !name.empty() && IsTagNamed(tag, tags, name);
}

void DateValue(const ExpansionContext& context, std::string& value) {
  const MacroTags& tags = context.project.tags;
  std::string& reference = context.macros.buffers.find_text;
  reference.assign(tags.parameter_start).append("format").append(tags.parameter_end);
  bool found = false;
  const std::string_view pattern = GetCallParameter(context.macros, reference, found);
  const std::tm now = Clock::LocalTime(context.clock.Now());
  const std::locale locale = UserLocale();
  value = pattern.empty() ? DefaultDateText(now, locale) : FormatDate(pattern, now, locale);
}

// The value of a reserved macro (date, project, folder or document name), or nothing.
void ReservedValue(const ExpansionContext& context, std::string_view tag, int folder_index,
                   int document_index, std::string& value) {
  const ProjectSettings& project = context.project;
  const MacroTags& tags = project.tags;
  if (IsReserved(tag, tags, project.reserved_date_macro)) {
    DateValue(context, value);
  } else if (IsReserved(tag, tags, project.reserved_project_name_macro)) {
    value.assign(project.name);
  } else if (IsReserved(tag, tags, project.reserved_folder_name_macro)) {
    if (const Folder* folder = FolderAt(context.definition, folder_index)) {
      value.assign(folder->name);
    }
  } else if (IsReserved(tag, tags, project.reserved_document_name_macro)) {
    if (const Document* document = DocumentAt(context.definition, folder_index, document_index)) {
      // As written: the resolved path would publish the author's own folders.
      value.assign(document->written_path);
    }
  }
}

// Whether the comma-separated delete-line exceptions name this tag.
bool ExemptFromLineDeletion(const ProjectSettings& project, std::string_view tag) {
  const std::string_view list = project.delete_line_exceptions;
  std::size_t start = 0;
  while (start < list.size()) {
    std::size_t comma = list.find(',', start);
    if (comma == std::string_view::npos) comma = list.size();
    if (IsTagNamed(tag, project.tags, TrimBlanks(list.substr(start, comma - start)))) return true;
    start = comma + 1;
  }
  return false;
}

// A tag without a value: the line goes, or stays without the tag.
void ExpandEmpty(const ProjectSettings& project, const ParsedTag& parsed, std::string_view tag,
                 const TagModifiers& modifiers, short& state, std::string& result,
                 std::string& warning) {
  if (modifiers.conditional_start) {
    state = kBlockExcluded;
    return;
  }
  if (modifiers.required) {
    warning.assign("WARNING: The required Macro ").append(tag).append(" does not have a value.");
    return;
  }
  if (project.delete_line == 1 && !modifiers.non_blank_delete &&
      !ExemptFromLineDeletion(project, tag)) {
    return;
  }
  if (IsBlankText(parsed.before) && IsBlankText(parsed.after)) return;
  result.append(parsed.before).append(parsed.after);
}

// Writes the value in place of the tag; its further lines take the line's indentation.
void AssembleValue(const ParsedTag& parsed, std::string_view value, std::string& result) {
  const std::string_view indent = LeadingWhitespace(parsed.before);
  result.append(parsed.before);
  std::size_t start = 0;
  for (std::size_t end = value.find(kCrLf); end != std::string_view::npos;
       end = value.find(kCrLf, start)) {
    result.append(value.substr(start, end - start)).append(kCrLf).append(indent);
    start = end + kCrLf.size();
  }
  result.append(value.substr(start)).append(parsed.after);
}

}  // namespace

void ExpandMacroTag(const ExpansionContext& context, std::string_view line, std::string& result,
                    int folder_index, int document_index, short& state, std::string& warning) {
  result.clear();
  const ProjectSettings& project = context.project;
  MacroTables& macros = context.macros;
  ExpansionBuffers& buffers = macros.buffers;
  if (buffers.found != nullptr) buffers.found->clear();
  const ParsedTag parsed = LocateFirstTag(project.tags, line);
  buffers.tag.assign(parsed.tag);
  const TagModifiers modifiers = RecogniseModifiers(project, macros, buffers.tag, state, warning);
  if (modifiers.conditional_else) {
    if (state == kBlockIncluded) {
      state = kBlockExcluded;
    } else if (state == kBlockExcluded) {
      state = kBlockIncluded;
    }
    return;
  }
  if (modifiers.conditional_end) {
    state = kOutsideBlock;
    return;
  }
  const ScopeSwitches switches = DocumentSwitches(context.definition, folder_index, document_index);
  if (modifiers.wildcard) {
    ExpandWildcardTag(project, macros, parsed.before, buffers.tag, parsed.after, switches, result);
    return;
  }
  std::string& value = buffers.value;
  value.clear();
  SearchPosition position = ResolveParentLevel(project, macros, modifiers.parent_level);
  if (position.scope != 0 &&
      FindMacro(project, macros, position, buffers.tag, switches, false, value,
                buffers.name_rest) &&
      buffers.found != nullptr) {
    buffers.found->push_back(position);
  }
  if (value.empty()) ReservedValue(context, buffers.tag, folder_index, document_index, value);
  if (value.empty()) {
    ExpandEmpty(project, parsed, buffers.tag, modifiers, state, result, warning);
    return;
  }
  if (modifiers.non_blank_delete) return;
  if (modifiers.conditional_start) {
    state = kBlockIncluded;
    return;
  }
  if (modifiers.quote_escape) {
    buffers.work.clear();
    AppendEscapedQuotes(buffers.work, value);
    value.swap(buffers.work);
  }
  AssembleValue(parsed, value, result);
}

void ExpandWildcardTag(const ProjectSettings& project, MacroTables& macros, std::string_view before,
                       std::string_view tag, std::string_view after, const ScopeSwitches& switches,
                       std::string& result) {
  const std::string& wildcard = project.tags.wildcard;
  const std::string_view prefix = tag.substr(0, tag.find(wildcard));
  ExpansionBuffers& buffers = macros.buffers;
  SearchPosition position{macros.project_macro_file_loaded ? kProjectMacroScope : kContentFileScope,
                          0, 0};
  result.clear();
  for (;;) {
    buffers.value.clear();
    if (!FindMacro(project, macros, position, prefix, switches, true, buffers.value,
                   buffers.name_rest) ||
        buffers.value.empty()) {
      return;
    }
    if (buffers.found != nullptr) buffers.found->push_back(position);
    ++position.slot;
    if (!result.empty()) result.append(kCrLf);
    result.append(before).append(buffers.value);
    std::size_t done = 0;
    for (std::size_t at = after.find(wildcard); !wildcard.empty() && at != std::string_view::npos;
         at = after.find(wildcard, done)) {
      result.append(after.substr(done, at - done)).append(buffers.name_rest);
      done = at + wildcard.size();
    }
    result.append(after.substr(done));
  }
}

}  // namespace pentrak
