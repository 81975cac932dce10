#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pentrak {

class FileSystem;
class UserInterface;
struct ProgramOptions;
struct ProjectDefinition;
struct ProjectSettings;

// What reading the definition file needs: the disk, the seam for the error report, the project
// (definition file, roots, global-content-files), the default drive, and the tables to fill
// (which grow up to the project's limits).
struct DefinitionContext {
  const FileSystem& fs;
  UserInterface& ui;
  const ProjectSettings& project;
  const ProgramOptions& options;
  ProjectDefinition& definition;
};

// Fills the definition tables from the project's definition file, checking every limit.
// resolve_paths: names become full paths against the roots; otherwise they are kept as written
// (only the default drive may be put in front). report_errors: an error ends the read and is
// shown through ReportError; otherwise it is thrown to the caller unchanged. A definition file
// setting that resolves to nothing (no roots) reads nothing and is not an error.
void ReadDefinition(const DefinitionContext& context, bool resolve_paths, bool report_errors);

// Splits line from offset start (0-based) into at most field_slots comma-separated,
// blank-trimmed fields in field_buffer (grown as needed), closed by an empty field when there is
// room. After the last comma a "!" also ends a field. Returns the optimization flag of the first
// field (-1 none, 0 " -ox", 1 " -o1", 2 " -o2"), which is removed from that field.
short SplitFields(std::string_view line, std::size_t start, std::size_t field_slots,
                  std::vector<std::string>& field_buffer);

}  // namespace pentrak
