// Reads the input as a project's definition file with full path resolution. The first bytes
// choose small table limits and the project switches. Errors of the system are expected
// results; anything else is a fault.

#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_engine.h"
#include "platform/error.h"
#include "project/definition_file.h"

using namespace pentrak;

namespace {

// A limit from 1 to 4: tables this small are overrun by short inputs.
short SmallLimit(std::uint8_t byte) { return static_cast<short>(1 + (byte & 3)); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kSettingBytes = 3;
  if (size < kSettingBytes) return 0;
  TestFolder folder;
  FileSystem fs;
  ScriptedUserInterface ui;
  ProgramOptions options;
  ProjectSettings project;
  project.max_folders = SmallLimit(data[0]);
  project.max_globals = SmallLimit(data[0] >> 2);
  project.max_docs = SmallLimit(data[0] >> 4);
  project.max_folder_globals = SmallLimit(data[1]);
  project.max_content_files = SmallLimit(data[1] >> 2);
  project.definition_file = "project.txt";
  project.content_root = folder.path();
  project.document_root = folder / "site";
  if ((data[1] & 0x10) != 0) project.default_content_root = folder / "shared";
  if ((data[1] & 0x20) != 0) project.global_content_files = "site.par, more.par";
  if ((data[2] & 1) != 0) {
    options.enable_default_drive = 1;
    options.default_drive = "C:";
  }
  fs.WriteFile(folder / "project.txt", fuzzing::TextFrom(data, size, kSettingBytes));
  ProjectDefinition definition;
  SizeDefinitionTables(definition);
  try {
    ReadDefinition({fs, ui, project, options, definition}, true, false);
  } catch (const Error&) {
  }
  return 0;
}
