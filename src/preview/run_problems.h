#pragma once

#include <string>
#include <vector>

namespace pentrak {

struct Finding;

// What the overlay of a troubled run shows: the run's last status line (its summary), the
// messages it showed split into lines, and the log's error and warning lines, each group
// under the log line that names its document (or "Globals", "Project").
std::vector<std::string> ProblemLines(const std::string& summary,
                                      const std::vector<std::string>& messages,
                                      const std::vector<std::string>& log);

// The overlay's lines for the broken links of the pages a run wrote: a heading, then each
// finding as the link check writes it (its source line under it). None when nothing is broken.
std::vector<std::string> LinkProblemLines(const std::vector<Finding>& findings);

}  // namespace pentrak
