#include "engine/macro_lookup.h"

#include "engine/content_file.h"
#include "engine/macro_tables.h"
#include "engine/macro_text.h"
#include "engine/tag_parser.h"
#include "settings/project_settings.h"

namespace pentrak {

namespace {

// The scopes in the order the search walks them.
constexpr short kChain[] = {kProjectMacroScope, kContentFileScope, kFolderGlobalScope,
                            kGlobalScope};
constexpr int kChainLength = 4;

int ChainIndex(short scope) {
  for (int i = 0; i < kChainLength; ++i) {
    if (kChain[i] == scope) return i;
  }
  return kChainLength;
}

bool Skipped(short scope, const ScopeSwitches& switches) {
  return (scope == kProjectMacroScope && switches.no_project_macro_file) ||
         (scope == kFolderGlobalScope && switches.no_folder_globals) ||
         (scope == kGlobalScope && switches.no_project_globals);
}

// Position of a table along the chain when parent references count files one by one.
int ChainPosition(const MacroTables& macros, short scope, int table) {
  switch (scope) {
    case kContentFileScope:
      return table;
    case kFolderGlobalScope:
      return macros.content_files_loaded + table;
    default:
      return macros.content_files_loaded + macros.folder_globals_loaded + table;
  }
}

// The parameter's name between the parameter start and end tags of its reference.
std::string_view BareName(std::string_view reference, const MacroTags& tags) {
  if (reference.substr(0, tags.parameter_start.size()) == tags.parameter_start) {
    reference.remove_prefix(tags.parameter_start.size());
  }
  if (reference.size() >= tags.parameter_end.size() &&
      reference.substr(reference.size() - tags.parameter_end.size()) == tags.parameter_end) {
    reference.remove_suffix(tags.parameter_end.size());
  }
  return reference;
}

// Puts the tag's parameters (or the declared defaults) where the value refers to them.
void SubstituteParameters(const MacroTags& tags, MacroTables& macros, const Macro& macro,
                          std::string& value) {
  ExpansionBuffers& buffers = macros.buffers;
  for (const MacroParameter& declared : macro.parameters) {
    if (declared.reference.empty()) break;
    bool found = false;
    std::string_view given = GetCallParameter(macros, declared.reference, found);
    if (given.empty() && !found) given = declared.default_value;
    ReplaceAll(value, declared.reference, given, buffers.work);
    if (tags.single_quote_escape.empty() ||
        !ContainsPair(value, tags.parameter_start, tags.single_quote_escape)) {
      continue;
    }
    buffers.find_text.assign(tags.parameter_start);
    buffers.find_text.append(tags.single_quote_escape);
    buffers.find_text.append(BareName(declared.reference, tags));
    buffers.find_text.append(tags.parameter_end);
    buffers.replace_text.clear();
    AppendEscapedQuotes(buffers.replace_text, given);
    ReplaceAll(value, buffers.find_text, buffers.replace_text, buffers.work);
  }
}

// Makes the value's parent references start after the table the value came from.
void RewriteParentReferences(const ProjectSettings& project, MacroTables& macros, short scope,
                             int table, std::string& value) {
  const MacroTags& tags = project.tags;
  if (tags.parent_reference.empty() ||
      !ContainsPair(value, tags.macro_start, tags.parent_reference)) {
    return;
  }
  const int levels = project.parent_reference_is_by_file == 1
                         ? ChainPosition(macros, scope, table) + 2
                         : scope + 1;
  ExpansionBuffers& buffers = macros.buffers;
  buffers.find_text.assign(tags.macro_start);
  buffers.find_text.append(tags.parent_reference);
  buffers.replace_text.assign(tags.macro_start);
  for (int i = 0; i < levels; ++i) buffers.replace_text.append(tags.parent_reference);
  ReplaceAll(value, buffers.find_text, buffers.replace_text, buffers.work);
}

// The matched name after the prefix, without the end tag that closes the name.
void NameRest(std::string_view name, std::size_t prefix_end, std::string_view macro_end,
              std::string& name_rest) {
  std::string_view rest = name.substr(prefix_end);
  if (!macro_end.empty() && rest.size() >= macro_end.size() &&
      rest.substr(rest.size() - macro_end.size()) == macro_end) {
    rest.remove_suffix(macro_end.size());
  }
  name_rest.assign(rest);
}

// Searches one table from slot; returns the matching slot or -1.
int FindInTable(const MacroTable& table, int slot, std::string_view tag, bool wildcard_mode) {
  for (int count = static_cast<int>(table.slots.size()); slot < count; ++slot) {
    const std::string& name = table.slots[slot].name;
    if (name.empty()) break;
    if (wildcard_mode ? Contains(name, tag) : name == tag) return slot;
  }
  return -1;
}

}  // namespace

SearchPosition ResolveParentLevel(const ProjectSettings& project, const MacroTables& macros,
                                  int level) {
  if (level == -1 && !macros.project_macro_file_loaded) level = 0;
  if (level < 0) return {kProjectMacroScope, 0, 0};
  if (project.parent_reference_is_by_file == 1) {
    const short counts[] = {macros.content_files_loaded, macros.folder_globals_loaded,
                            macros.globals_loaded};
    for (short scope = kContentFileScope; scope <= kGlobalScope; ++scope) {
      if (level < counts[scope - 1]) return {scope, level, 0};
      level -= counts[scope - 1];
    }
    return {};
  }
  if (level <= kGlobalScope - 1) return {static_cast<short>(level + 1), 0, 0};
  return {};
}

bool FindMacro(const ProjectSettings& project, MacroTables& macros, SearchPosition& position,
               std::string_view tag, const ScopeSwitches& switches, bool wildcard_mode,
               std::string& value, std::string& name_rest) {
  int table = position.table;
  int slot = position.slot;
  for (int i = ChainIndex(position.scope); i < kChainLength; ++i, table = 0, slot = 0) {
    const short scope = kChain[i];
    if (Skipped(scope, switches)) continue;
    for (int count = ScopeTableCount(macros, scope); table < count; ++table, slot = 0) {
      const MacroTable& current = ScopeTable(macros, scope, table);
      if (scope != kProjectMacroScope && current.file_name.empty()) break;
      const int found = FindInTable(current, slot, tag, wildcard_mode);
      if (found < 0) continue;
      const Macro& macro = current.slots[found];
      value.assign(macro.value);
      if (wildcard_mode) {
        NameRest(macro.name, macro.name.find(tag) + tag.size(), project.tags.macro_end, name_rest);
      } else {
        SubstituteParameters(project.tags, macros, macro, value);
      }
      if (scope != kProjectMacroScope)
        RewriteParentReferences(project, macros, scope, table, value);
      position = {scope, table, found};
      return true;
    }
  }
  return false;
}

}  // namespace pentrak
