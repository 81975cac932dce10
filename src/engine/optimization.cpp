#include "engine/optimization.h"

#include "platform/text_lines.h"
#include "project/definition.h"
#include "settings/project_settings.h"

namespace pentrak {

short EffectiveOptimizationLevel(const ProjectSettings& project, const Document& document) {
  if (project.optimization_status == 0) return 0;
  if (project.optimization_status == 1 && IsExcludedFromOptimization(project, document.path)) {
    return 0;
  }
  if (document.optimization_flag >= 0) return document.optimization_flag;
  return project.optimization_status == 1 ? project.optimization_level : 0;
}

bool IsExcludedFromOptimization(const ProjectSettings& project, std::string_view path) {
  std::string_view extension = FileExtension(path);
  if (extension.empty()) return false;
  std::string list(TrimBlanks(project.optimize_exclude_list));
  list += ',';
  std::string item;
  item.reserve(extension.size() + 2);
  item.append(".").append(extension).append(",");
  return list.find(item) != std::string::npos;
}

std::string_view FileExtension(std::string_view name) {
  name = TrimBlanks(name);
  if (name.size() <= 1) return {};
  std::size_t dot = name.find('.');
  if (dot == std::string_view::npos) return {};
  return name.substr(dot + 1);
}

std::string_view StripLeadingWhiteSpace(std::string_view line) {
  std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return line.substr(first);
}

void OptimizationPass::Apply(std::string_view line, std::string& out) {
  if (line.find(kOptimizeOffMarker) != std::string_view::npos) {
    optimize_off_ = true;
    // Ends the run-on line written so far, so the block starts on a line of its own.
    if (level_ == 2) out.append(kCrLf);
    return;
  }
  if (line.find(kOptimizeOnMarker) != std::string_view::npos) {
    optimize_off_ = false;
    return;
  }
  if (optimize_off_) {
    if (!line.empty()) AppendLine(out, line);
    return;
  }
  std::string_view stripped = StripLeadingWhiteSpace(line);
  if (stripped.empty()) return;
  if (level_ == 1) {
    AppendLine(out, stripped);
    return;
  }
  out.append(stripped);
  char last = stripped.back();
  if (last != '>' && last != ' ') out += ' ';
}

}  // namespace pentrak
