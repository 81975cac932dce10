#pragma once

#include <string>
#include <string_view>

namespace pentrak {

struct Document;
struct ProjectSettings;

// Lines holding these markers switch optimization off and on for a block; they are never
// written themselves.
inline constexpr std::string_view kOptimizeOffMarker = "<!--PENTRAK:OPTIMIZE:OFF-->";
inline constexpr std::string_view kOptimizeOnMarker = "<!--PENTRAK:OPTIMIZE:ON-->";

// The optimization level (0, 1 or 2) that applies to a document under the project's settings.
short EffectiveOptimizationLevel(const ProjectSettings& project, const Document& document);

// True when the path's extension is listed in the project's optimize-exclude-list.
bool IsExcludedFromOptimization(const ProjectSettings& project, std::string_view path);

// The text after the first "." of the trimmed name; "" for a name of one character or without
// a dot. A dot in a folder name counts too ("my.site/index.html" gives "site/index.html").
std::string_view FileExtension(std::string_view name);

// The line without its leading blanks and TABs; "" when it holds nothing else.
std::string_view StripLeadingWhiteSpace(std::string_view line);

// The last pass of a document at level 1 or 2: decides, line by line, what is written.
class OptimizationPass {
 public:
  explicit OptimizationPass(short level) : level_(level) {}

  // Appends what the logical line becomes to out (possibly nothing).
  void Apply(std::string_view line, std::string& out);

 private:
  short level_;
  bool optimize_off_ = false;
};

}  // namespace pentrak
