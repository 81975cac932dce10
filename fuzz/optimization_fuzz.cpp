// Runs the optimization pass over the input's lines at level 1 and 2, and the extension rule of
// the exclusion list over its first line. Optimizing never adds text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/document_generator.h"
#include "engine/optimization.h"
#include "fuzz/fuzz_engine.h"
#include "settings/project_settings.h"

using namespace pentrak;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = fuzzing::TextFrom(data, size, 0);
  for (short level : {short{1}, short{2}}) {
    OptimizationPass pass(level);
    std::string output;
    LogicalLineReader reader(text, "\\\\");
    std::string_view line;
    std::size_t read = 0;
    while (reader.Next(line)) {
      read += line.size() + 2;
      pass.Apply(line, output);
    }
    if (output.size() > read) std::abort();
  }
  ProjectSettings project;
  project.optimize_exclude_list = "css,js";
  std::string_view first(text);
  first = first.substr(0, first.find('\n'));
  IsExcludedFromOptimization(project, first);
  if (StripLeadingWhiteSpace(first).size() > first.size()) std::abort();
  return 0;
}
