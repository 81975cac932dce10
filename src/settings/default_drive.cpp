#include "settings/default_drive.h"

#include "platform/paths.h"
#include "settings/program_options.h"

namespace pentrak {

std::string ApplyDefaultDrive(std::string_view path, std::string_view drive, short enabled) {
  bool applies = path.size() > 1 && IsSeparator(path[0]) && !IsSeparator(path[1]) &&
                 !drive.empty() && enabled == 1;
  if (!applies) return std::string(path);
  std::string result(drive);
  result.append(path);
  return result;
}

std::string ApplyDefaultDrive(std::string_view path, const ProgramOptions& options) {
  return ApplyDefaultDrive(path, options.default_drive, options.enable_default_drive);
}

}  // namespace pentrak
