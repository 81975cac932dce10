// Loads the input as a content file into every scope. Errors of the system are expected
// results; anything else is a fault.

#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_engine.h"
#include "platform/error.h"

using namespace pentrak;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  fuzzing::EngineSetup setup(fuzzing::TagsFor(data[0]));
  setup.project.trim_parameter_values = static_cast<short>((data[0] >> 1) & 1);
  const std::string path = setup.folder / "input.par";
  setup.fs.WriteFile(path, fuzzing::TextFrom(data, size, 1));
  for (short scope : {kContentFileScope, kFolderGlobalScope, kGlobalScope, kProjectMacroScope}) {
    try {
      setup.Load(scope, path);
    } catch (const Error&) {
    }
  }
  // A second load into a filled table replaces it; the display tables take the same text.
  try {
    setup.Load(kContentFileScope, path);
    LoadContentFile(setup.load, kGlobalScope, path, setup.macros.display_table, false, false);
  } catch (const Error&) {
  }
  return 0;
}
