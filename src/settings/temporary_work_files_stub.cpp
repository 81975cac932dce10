// TEMPORARY: stands in for the work-file writers until the settings branch is merged.
#include "platform/error.h"
#include "platform/file_system.h"
#include "settings/work_files.h"

namespace pentrak {

void WriteResultsFile(const LogContext& log, std::string_view text, bool create) {
  try {
    if (create) {
      log.fs.WriteLines(log.work_files.results_file, {std::string(text)});
    } else {
      log.fs.AppendLine(log.work_files.results_file, text);
    }
  } catch (const Error&) {
  }
}

}  // namespace pentrak
