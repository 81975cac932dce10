#pragma once

// Shared by the fuzz targets: input helpers and the macro engine's records with small limits.

#include <cstddef>
#include <cstdint>
#include <string>

#include "testing/engine_records.h"
#include "testing/test_project.h"

namespace pentrak::fuzzing {

// An odd byte picks the tag set whose every tag differs from the default one, so that code
// that assumes a default tag shows.
inline MacroTags TagsFor(std::uint8_t selector) {
  return (selector & 1) != 0 ? testing::OtherTags() : testing::DefaultTags();
}

// The input as text, from offset start.
inline std::string TextFrom(const std::uint8_t* data, std::size_t size, std::size_t start) {
  return start < size ? std::string(reinterpret_cast<const char*>(data) + start, size - start)
                      : std::string();
}

// The engine's records with limits small enough that short inputs overrun them.
struct EngineSetup : testing::EngineRecords {
  explicit EngineSetup(const MacroTags& tags) : EngineRecords(tags) {
    project.max_content_file_macros = 6;
    project.max_folder_global_macros = 4;
    project.max_global_macros = 5;
    project.max_project_macros = 3;
    project.max_parameters = 3;
    project.max_content_files = 2;
    project.max_folder_globals = 2;
    project.max_globals = 2;
    project.max_nested_macros = 8;
    SizeMacroTables(macros);
  }
};

}  // namespace pentrak::fuzzing
