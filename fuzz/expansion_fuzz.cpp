// Expands the input as a template, pass after pass as the document generator does, against a
// fixed set of content files. The first byte picks the tag set and the project switches.
// Errors of the system are expected results; anything else is a fault.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/document_generator.h"
#include "fuzz/fuzz_engine.h"
#include "platform/error.h"
#include "platform/text_lines.h"

using namespace pentrak;

namespace {

// Macros using every kind of tag: multi-line values, parameters with defaults, a nested and a
// self-referencing macro, a quote, wildcard candidates and a conditional switch.
constexpr std::string_view kDocumentMacros =
    "Macros of the document.\n"
    "<S>TITLE<E>:\nMy Site\n<EL>\n"
    "<S>AB<E>:\na\nb\n<EL>\n"
    "<S>NESTED<E>:\nx <S>TITLE<E> <S><N>AB<E>\n<EL>\n"
    "<S>LINK<PS>url<PE><PS>text:Click<PE><E>:\n<a href=\"<PS>url<PE>\"><PS>text<PE></a>\n<EL>\n"
    "<S>QUOTE<E>:\nit's <S>LINK<PS>url:q.html<PE><E>\n<EL>\n"
    "<S>MENU_HOME<E>:\nHome<LC>\n page\n<EL>";
constexpr std::string_view kGlobalMacros =
    "<S>SELF<E>:\n<S>SELF<E> again\n<EL>\n"
    "<S>MENU_NEWS<E>:\nNews\n<EL>\n"
    "<S>TITLE<E>:\nGlobal title\n<EL>\n"
    "<S>EMPTY<E>:\n<EL>";
constexpr std::string_view kProjectMacros =
    "<S>YES<E>:\ny\n<EL>\n"
    "<S>MENU_TOP<E>:\nTop\n<EL>";

std::string WriteMacros(fuzzing::EngineSetup& setup, std::string_view name, std::string_view text) {
  std::string bytes;
  LineCursor cursor(text);
  std::string_view line;
  while (cursor.Next(line)) AppendLine(bytes, testing::Tagged(line, setup.project.tags));
  const std::string path = setup.folder / name;
  setup.fs.WriteFile(path, bytes);
  return path;
}

// One pass over source into output; returns whether any line held a macro start tag.
bool ExpansionPass(fuzzing::EngineSetup& setup, const std::string& source, std::string& output,
                   short& state) {
  const std::string& start_tag = setup.project.tags.macro_start;
  bool tags_found = false;
  std::string result;
  std::string warning;
  LogicalLineReader reader(source, setup.project.tags.line_continuation);
  std::string_view line;
  while (reader.Next(line)) {
    if (line.find(start_tag) == std::string_view::npos) {
      if (state != kBlockExcluded) AppendLine(output, line);
      continue;
    }
    tags_found = true;
    result.clear();
    warning.clear();
    ExpandMacroTag(setup.expansion, line, result, 0, 0, state, warning);
    if (!result.empty() && state != kBlockExcluded) AppendLine(output, result);
  }
  return tags_found;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t switches = data[0];
  fuzzing::EngineSetup setup(fuzzing::TagsFor(switches));
  setup.project.delete_line = static_cast<short>((switches >> 1) & 1);
  setup.project.trim_parameter_values = static_cast<short>((switches >> 2) & 1);
  setup.project.parent_reference_is_by_file = static_cast<short>((switches >> 3) & 1);
  setup.definition.folders[0].no_project_macro_file = static_cast<short>((switches >> 4) & 1);
  setup.clock.SetNow(1764950400);
  try {
    setup.Load(kContentFileScope, WriteMacros(setup, "doc.par", kDocumentMacros));
    setup.Load(kGlobalScope, WriteMacros(setup, "site.par", kGlobalMacros));
    setup.Load(kProjectMacroScope, WriteMacros(setup, "project.par", kProjectMacros));
  } catch (const Error&) {
    std::abort();  // the fixed files are valid: failing to load them is a fault
  }
  std::string source = fuzzing::TextFrom(data, size, 1);
  std::string output;
  short state = kOutsideBlock;
  try {
    for (int pass = 0; pass <= setup.project.max_nested_macros; ++pass) {
      output.clear();
      if (!ExpansionPass(setup, source, output, state)) break;
      source.swap(output);
    }
  } catch (const Error&) {
  }
  return 0;
}
