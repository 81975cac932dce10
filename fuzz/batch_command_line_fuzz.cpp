// Parses the input as the batch command line. The values it finds are parts of the input.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_engine.h"
#include "generation/command_line.h"

using namespace pentrak;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = fuzzing::TextFrom(data, size, 0);
  BatchSettings settings = ParseCommandLine(text);
  StartBatchTimer(settings);
  if (settings.project_path.size() > text.size() || settings.command.size() > text.size()) {
    std::abort();
  }
  return 0;
}
