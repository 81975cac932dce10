// Checks and reads the input as the project history file. The first byte sizes the history
// and chooses whether the listed projects exist. Errors of the system are expected results;
// anything else is a fault.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_engine.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "settings/project_history.h"
#include "testing/scripted_user_interface.h"
#include "testing/test_folder.h"

using namespace pentrak;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  TestFolder folder;
  FileSystem fs;
  ScriptedUserInterface ui;
  const std::string path = folder / "projects.ini";
  fs.OverwriteFile(path, fuzzing::TextFrom(data, size, 1));
  if ((data[0] & 0x10) != 0) fs.WriteFile(folder / "a.web", "name=A\r\n");
  ProjectHistory history;
  ResizeProjectHistory(history, static_cast<short>(1 + (data[0] & 0x0f)));
  try {
    if (CheckProjectHistoryFile(ui, fs, path, folder.path(), (data[0] & 0x20) != 0, history)) {
      ReadProjectHistory(fs, path, folder / "a.web", history);
      WriteProjectHistory(fs, path, history);
    }
  } catch (const Error&) {
  }
  return 0;
}
