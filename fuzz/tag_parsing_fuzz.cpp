// Parses the input as a line holding a macro tag: locating the tag, its modifiers and its
// parameter list, as expansion does. The first byte picks the tag set and the conditional
// state. Errors of the system are expected results; anything else is a fault.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/tag_parser.h"
#include "fuzz/fuzz_engine.h"
#include "platform/error.h"

using namespace pentrak;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // Setting up the records costs far more than parsing one line; only the call-parameter list
  // carries anything from one input to the next, and it is cleared.
  static fuzzing::EngineSetup default_tags(fuzzing::TagsFor(0));
  static fuzzing::EngineSetup other_tags(fuzzing::TagsFor(1));
  fuzzing::EngineSetup& setup = (data[0] & 1) != 0 ? other_tags : default_tags;
  ClearCallParameters(setup.macros);
  setup.project.trim_parameter_values = static_cast<short>((data[0] >> 1) & 1);
  const short state = static_cast<short>((data[0] >> 2) % 3);
  const std::string line = fuzzing::TextFrom(data, size, 1);
  try {
    ParsedTag parsed = LocateFirstTag(setup.project.tags, line);
    // The three parts are the line, cut in order.
    if (parsed.before.size() + parsed.tag.size() + parsed.after.size() != line.size()) {
      std::abort();
    }
    std::string tag(parsed.tag);
    std::string warning;
    RecogniseModifiers(setup.project, setup.macros, tag, state, warning);
    std::string copy(parsed.tag);
    ParseMacroParameters(setup.project, setup.macros, copy, warning);
  } catch (const Error&) {
  }
  return 0;
}
