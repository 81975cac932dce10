#include "platform/executable_path.h"

#include <unistd.h>

#include <climits>

namespace pentrak {

std::string ExecutablePath(std::string_view argv0) {
  char buffer[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer);
  if (n > 0 && static_cast<std::size_t>(n) < sizeof buffer) {
    return std::string(buffer, static_cast<std::size_t>(n));
  }
  return std::string(argv0);
}

}  // namespace pentrak
