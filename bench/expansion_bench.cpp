// Expanding one 200-character template line whose macro takes parameters and sits in the third
// of five document content files, behind 110 other definitions.

#include <benchmark/benchmark.h>

#include <string>

#include "engine/expansion.h"
#include "engine/macro_tables.h"
#include "platform/clock.h"
#include "project/definition.h"
#include "testing/test_project.h"

namespace pentrak {
namespace {

constexpr int kFiles = 5;
constexpr int kFillers = 40;  // definitions in front of the sought one in each file

void FillTables(MacroTables& macros) {
  macros.content_files.resize(kFiles);
  for (int t = 0; t < kFiles; ++t) {
    MacroTable& table = macros.content_files[t];
    table.file_name = "content" + std::to_string(t) + ".par";
    table.slots.resize(kFillers);
    for (int i = 0; i < kFillers; ++i) {
      Macro& slot = table.slots[i];
      slot.name = "[@FILLER_" + std::to_string(t) + "_" + std::to_string(i) + "]";
      slot.value = "filler value " + std::to_string(i);
    }
  }
  Macro& link = macros.content_files[2].slots[kFillers - 10];
  link.name = "[@LINK]";
  link.value = "<a href=\"(@url)\" title=\"(@\\text)\">(@text)</a>";
  link.parameters = {{"(@url)", ""}, {"(@text)", "Home"}};
  macros.content_files_loaded = kFiles;
}

std::string TemplateLine() {
  std::string line =
      "      <li class=\"nav-item\">[@LINK(@url:news/index.html)(@text:Pentrak's news)]";
  line += "</li> <!-- the rest of the line carries on past the tag:";
  while (line.size() < 196) line += " x";
  line.resize(196);
  line += " -->";
  return line;
}

void BM_ExpandParameterisedTag(benchmark::State& state) {
  const ProjectSettings project = testing::NewProject();
  ProjectDefinition definition;
  definition.folders.resize(1);
  definition.folders[0].name = "News";
  definition.folders[0].documents.resize(1);
  definition.folders[0].documents[0].path = "news/index.html";
  MacroTables macros;
  SizeMacroTables(macros);
  FillTables(macros);
  const Clock clock;
  const ExpansionContext context{project, definition, macros, clock};
  const std::string line = TemplateLine();
  std::string result;
  std::string warning;
  short block_state = kOutsideBlock;
  for (auto _ : state) {
    ExpandMacroTag(context, line, result, 0, 0, block_state, warning);
    benchmark::DoNotOptimize(result.data());
  }
  if (result.find("Pentrak\\'s news") == std::string::npos) state.SkipWithError("not expanded");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * line.size()));
}
BENCHMARK(BM_ExpandParameterisedTag);

}  // namespace
}  // namespace pentrak
