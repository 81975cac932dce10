#include "engine/content_file.h"

#include <algorithm>
#include <initializer_list>
#include <optional>

#include "engine/macro_tables.h"
#include "engine/macro_text.h"
#include "engine/tag_parser.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/growing_table.h"
#include "platform/text_lines.h"
#include "settings/project_settings.h"
#include "settings/work_files.h"

namespace pentrak {

namespace {

// Detail lines of the generation log stand ten blanks in.
constexpr std::string_view kLogIndent = "          ";

// Reads one content file into one table, line by line.
class ContentFileReader {
 public:
  ContentFileReader(const ContentLoadContext& context, short scope, const std::string& path,
                    MacroTable& table, bool log_warnings)
      : context_(context),
        tags_(context.project.tags),
        path_(path),
        table_(table),
        limit_(ScopeMacroLimit(context.project, scope)),
        log_warnings_(log_warnings),
        end_line_(context.project.macro_end_line.empty() ? tags_.macro_start + tags_.macro_end
                                                         : context.project.macro_end_line) {}

  short Read(std::string_view text) {
    LineCursor cursor(text);
    std::string logical;
    while (NextLogicalLine(cursor, logical)) ReadLine(TrimTrailingBlanks(logical));
    Finish();
    return status_;
  }

 private:
  // Joins physical lines that end with the continuation tag. The tag is looked for before
  // trailing spaces are cut, so "abc\\ " is not continued.
  bool NextLogicalLine(LineCursor& cursor, std::string& logical) {
    std::string_view physical;
    if (!cursor.Next(physical)) return false;
    ++line_count_;
    logical.assign(physical);
    const std::string& continuation = tags_.line_continuation;
    while (!continuation.empty() && logical.ends_with(continuation)) {
      logical.resize(logical.size() - continuation.size());
      if (!cursor.Next(physical)) break;  // a continued last line ends with the file
      ++line_count_;
      logical.append(physical);
    }
    return true;
  }

  void ReadLine(std::string_view line) {
    if (line.empty()) {
      previous_blank_ = true;
      return;
    }
    if (current_ != nullptr) {
      ReadValueLine(line);
    } else if (line.starts_with(tags_.macro_start)) {
      ReadDefinitionLine(line);
    }
    previous_blank_ = false;
  }

  void ReadValueLine(std::string_view line) {
    if (line.starts_with(end_line_)) {
      current_ = nullptr;
      return;
    }
    std::string& value = current_->value;
    if (first_value_line_) {
      value.assign(line);
      first_value_line_ = false;
      return;
    }
    // A run of blank lines inside a value becomes exactly one empty line.
    if (previous_blank_) value.append(kCrLf);
    value.append(kCrLf);
    value.append(line);
  }

  void ReadDefinitionLine(std::string_view line) {
    const std::size_t close = FindPair(line, tags_.macro_end, ":", 1);
    if (close == std::string_view::npos) {
      Warn({"WARNING: Possible error in Macro definition. Could not find Macro End Tag on line: ",
            line, " in file: ", path_});
      return;
    }
    const int index = last_slot_ + 1;
    if (index > limit_ - 1) {
      throw Error(kErrorMacroLimit, "Maximum number of Macros exceeded in: " + path_);
    }
    any_definition_ = true;
    name_.assign(line.substr(0, close + tags_.macro_end.size()));
    WarnIfDuplicate(index);
    Macro& slot = SlotAt(table_.slots, static_cast<std::size_t>(index));
    DeclareParameters(slot);
    slot.name.swap(name_);
    slot.value.clear();
    slot.line_number = line_count_;
    last_slot_ = index;
    table_.used = std::max(table_.used, static_cast<std::size_t>(index) + 1);
    current_ = &slot;
    first_value_line_ = true;
  }

  // The name is compared as written, parameter list included, so only a plain redefinition of
  // an earlier name is reported; both definitions are kept and the first one wins the lookup.
  void WarnIfDuplicate(int index) {
    for (int i = index - 1; i >= 0; --i) {
      if (table_.slots[static_cast<std::size_t>(i)].name == name_) {
        Warn({"WARNING: Duplicate definition for Macro: ", name_, " in file: ", path_});
        return;
      }
    }
  }

  void DeclareParameters(Macro& slot) {
    const bool declares = !tags_.parameter_start.empty() && !tags_.parameter_end.empty() &&
                          Contains(name_, tags_.parameter_start);
    if (!declares) {
      for (MacroParameter& parameter : slot.parameters) {
        parameter.reference.clear();
        parameter.default_value.clear();
      }
      return;
    }
    std::string warning;
    ParseMacroParameters(context_.project, context_.macros, name_, warning);
    // The parser's warning counts only when it is written to the log.
    if (!warning.empty() && log_warnings_) {
      Log(warning);
      status_ = kLoadWarnings;
    }
    // The slot keeps the pairs an earlier definition left beyond this one's, emptied.
    const MacroTables& macros = context_.macros;
    const std::size_t given = macros.call_parameter_count;
    if (slot.parameters.size() < given) slot.parameters.resize(given);
    for (std::size_t k = 0; k < slot.parameters.size(); ++k) {
      MacroParameter& parameter = slot.parameters[k];
      if (k < given) {
        parameter.reference = macros.call_parameters[k].reference;
        parameter.default_value = macros.call_parameters[k].value;
      } else {
        parameter.reference.clear();
        parameter.default_value.clear();
      }
    }
  }

  void Finish() {
    if (current_ != nullptr) {
      Warn({"WARNING: Possible error in Macro definition. Could not find end of Macro: ",
            current_->name, " in file: ", path_});
    } else if (!any_definition_) {
      Warn({"WARNING: No Macro definitions found in file: ", path_});
    }
  }

  // Every warning counts in the status; it is written only when the caller asked for that.
  void Warn(std::initializer_list<std::string_view> parts) {
    status_ = kLoadWarnings;
    if (!log_warnings_) return;
    std::string text;
    for (std::string_view part : parts) text.append(part);
    Log(text);
  }

  void Log(std::string_view text) {
    std::string line(kLogIndent);
    line.append(text);
    WriteLog(context_.log, line);
  }

  const ContentLoadContext& context_;
  const MacroTags& tags_;
  const std::string& path_;
  MacroTable& table_;
  const int limit_;
  const bool log_warnings_;
  const std::string end_line_;
  short status_ = kLoadOk;
  int line_count_ = 0;
  int last_slot_ = -1;
  Macro* current_ = nullptr;  // the definition being read, if any
  bool first_value_line_ = false;
  bool any_definition_ = false;
  bool previous_blank_ = true;
  std::string name_;
};

// reason, when given, says why a file that exists could not be read (a FIFO, no permission).
[[noreturn]] void ThrowCannotOpen(const std::string& path, const std::string& reason = "") {
  std::string text = "Could not open file at " + path + ". ";
  if (!reason.empty()) text += reason + ". ";
  throw Error(kErrorCannotOpen, text + "Project generation halted.");
}

}  // namespace

short LoadContentFile(const ContentLoadContext& context, short scope, const std::string& path,
                      int table_index, bool log_warnings, bool continue_if_missing) {
  if (path.empty()) return kLoadOk;
  return LoadContentFile(context, scope, path,
                         ScopeTableForLoading(context.project, context.macros, scope, table_index),
                         log_warnings, continue_if_missing);
}

short LoadContentFile(const ContentLoadContext& context, short scope, const std::string& path,
                      MacroTable& table, bool log_warnings, bool continue_if_missing) {
  if (path.empty()) return kLoadOk;
  // Read without a look beforehand: every document loads its content files, and a missing one
  // is rare.
  std::optional<std::string> text;
  try {
    text = context.fs.ReadFileIfPresent(path);
  } catch (const Error& error) {
    ThrowCannotOpen(path, error.description());
  }
  if (!text) {
    if (continue_if_missing) return kLoadMissingFile;
    ThrowCannotOpen(path);
  }
  table.file_name = path;
  return ContentFileReader(context, scope, path, table, log_warnings).Read(*text);
}

}  // namespace pentrak
