// TEMPORARY: stands in for the generation log until the work-files code lands; remove then.
#include "platform/file_system.h"
#include "settings/program_options.h"
#include "settings/work_files.h"

namespace pentrak {

void WriteLog(const LogContext& log, std::string_view text, bool create, bool note_if_disabled) {
  (void)note_if_disabled;
  if (log.options.enable_logging != 1 || log.work_files.log_file.empty()) return;
  if (create) log.work_files.log_active = true;
  if (!log.work_files.log_active) return;
  if (create) {
    log.fs.WriteLines(log.work_files.log_file, {std::string(text)});
  } else {
    log.fs.AppendLine(log.work_files.log_file, text);
  }
}

}  // namespace pentrak
