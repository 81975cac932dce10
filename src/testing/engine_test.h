#pragma once

// For the macro engine's tests: the engine's records for each of two tag sets.

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/text_lines.h"
#include "testing/engine_records.h"
#include "testing/test_project.h"

namespace pentrak {

// Names a tag set in test output by its start and end tags.
inline void PrintTo(const MacroTags& tags, std::ostream* out) {
  *out << tags.macro_start << "..." << tags.macro_end;
}

}  // namespace pentrak

namespace pentrak::testing {

// The engine's records for a tag set, with helpers to write content files and expand lines.
class EngineTest : public ::testing::TestWithParam<MacroTags>, protected EngineRecords {
 protected:
  EngineTest() : EngineRecords(GetParam()) {}

  std::string T(std::string_view text) const { return Tagged(text, project.tags); }

  // Writes a content file from text given with tag codes, "\n" between lines; returns its path.
  std::string WriteFile(std::string_view name, std::string_view text) {
    std::string bytes;
    for (std::size_t start = 0, end = 0; start <= text.size(); start = end + 1) {
      end = std::min(text.find('\n', start), text.size());
      AppendLine(bytes, T(text.substr(start, end - start)));
    }
    const std::string path = folder / name;
    fs.WriteFile(path, bytes);
    return path;
  }

  short LoadText(short scope, std::string_view name, std::string_view text) {
    return Load(scope, WriteFile(name, text));
  }

  // Expands the first tag of a line (given with tag codes) for the one document.
  std::string Expand(std::string_view line, short& block, std::string& warning) {
    std::string result;
    warning.clear();
    ExpandMacroTag(expansion, T(line), result, 0, 0, block, warning);
    return result;
  }
  std::string Expand(std::string_view line) {
    short block = kOutsideBlock;
    std::string warning;
    return Expand(line, block, warning);
  }
};

inline std::string TagSetName(const ::testing::TestParamInfo<MacroTags>& info) {
  return info.param.macro_start == DefaultTags().macro_start ? "DefaultTags" : "OtherTags";
}

}  // namespace pentrak::testing
