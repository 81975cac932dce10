// Reads the input as the program options file; options that read without error are written
// and must read again. Errors of the system are expected results; anything else is a fault.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_engine.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "settings/program_options.h"
#include "settings/program_options_file.h"
#include "testing/test_folder.h"

using namespace pentrak;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TestFolder folder;
  FileSystem fs;
  const std::string path = folder / "pentrak.ini";
  fs.OverwriteFile(path, fuzzing::TextFrom(data, size, 0));
  ProgramOptions options;
  SetProgramOptionDefaults(options, folder.path());
  try {
    ReadProgramOptions(fs, folder.path(), path, options);
  } catch (const Error&) {
    return 0;
  }
  ProgramOptions again;
  try {
    WriteProgramOptions(fs, folder.path(), path, options);
    ReadProgramOptions(fs, folder.path(), path, again);
  } catch (const Error&) {
    std::abort();  // what was read once must survive a write
  }
  return 0;
}
