// Reads the input as a settings text and as a project file. Errors of the system are expected
// results; anything else is a fault, and so is a setting line that does not read back.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_engine.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/text_lines.h"
#include "settings/project_file.h"
#include "settings/project_settings.h"
#include "settings/settings_text.h"
#include "testing/test_folder.h"

using namespace pentrak;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TestFolder folder;
  FileSystem fs;
  const std::string path = folder / "project.web";
  const std::string text = fuzzing::TextFrom(data, size, 0);
  fs.OverwriteFile(path, text);
  SettingsText settings = LoadSettingsText(fs, path);
  for (const char* key : {"name", "max-docs", "macro-start-tag", ""}) {
    const std::string value = GetSettingValue(settings, key, "(none)");
    // A value without line breaks survives its own setting line, less its outer blanks.
    const std::string trimmed(TrimBlanks(value));
    if (value.find_first_of("\r\n") == std::string::npos &&
        GetSettingValue(MakeSettingLine(key, value) + "\r\n", key, "(none)") != trimmed) {
      std::abort();
    }
  }
  ProjectSettings project;
  try {
    ReadProjectSettings(fs, path, project);
  } catch (const Error&) {
  }
  return 0;
}
