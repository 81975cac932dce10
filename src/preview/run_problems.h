#pragma once

#include <string>
#include <vector>

namespace pentrak {

// What the overlay of a troubled run shows: the run's last status line (its summary), the
// messages it showed split into lines, and the log's error and warning lines, each group
// under the log line that names its document (or "Globals", "Project").
std::vector<std::string> ProblemLines(const std::string& summary,
                                      const std::vector<std::string>& messages,
                                      const std::vector<std::string>& log);

}  // namespace pentrak
