#include "preview/run_problems.h"

#include <string_view>

#include "check/findings.h"
#include "settings/work_files.h"

namespace pentrak {

namespace {

bool IsProblem(std::string_view detail) {
  return detail.rfind("ERROR", 0) == 0 || detail.rfind("WARNING", 0) == 0;
}

void AddMessageLines(const std::string& message, std::vector<std::string>& lines) {
  std::size_t start = 0;
  while (start <= message.size()) {
    std::size_t end = message.find_first_of("\r\n", start);
    if (end == std::string::npos) end = message.size();
    if (end > start) lines.push_back(message.substr(start, end - start));
    start = end + 1;
  }
}

}  // namespace

std::vector<std::string> ProblemLines(const std::string& summary,
                                      const std::vector<std::string>& messages,
                                      const std::vector<std::string>& log) {
  std::vector<std::string> lines;
  if (!summary.empty()) lines.push_back(summary);
  for (const std::string& message : messages) AddMessageLines(message, lines);
  std::string_view header;
  bool header_shown = false;
  for (const std::string& line : log) {
    if (line.empty()) continue;
    std::string_view text(line);
    if (text.rfind(kLogIndent, 0) != 0) {
      header = text;
      header_shown = false;
      continue;
    }
    if (!IsProblem(text.substr(kLogIndent.size()))) continue;
    if (!header_shown && !header.empty()) lines.emplace_back(header);
    header_shown = true;
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> LinkProblemLines(const std::vector<Finding>& findings) {
  std::vector<std::string> lines;
  if (findings.empty()) return lines;
  lines.emplace_back("Broken links in the pages just written:");
  for (const Finding& finding : findings) AddMessageLines(FindingText(finding), lines);
  return lines;
}

}  // namespace pentrak
