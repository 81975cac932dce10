#include "check/link_sources.h"

#include <filesystem>

#include "check/site_links.h"
#include "engine/content_file.h"
#include "engine/document_generator.h"
#include "engine/expansion.h"
#include "engine/origin_recorder.h"
#include "engine/tag_parser.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "project/definition_file.h"
#include "project/path_resolution.h"
#include "settings/program_options.h"
#include "settings/project_settings.h"
#include "settings/work_files.h"

namespace pentrak {

// A document expanded again: its recorder, or nothing when it is static or failed to expand.
struct LinkSources::Traced {
  bool is_static = false;
  std::unique_ptr<OriginRecorder> recorder;
};

std::string ComparablePath(std::string_view path) {
  std::string native = NativePath(path);
  // Most paths need nothing but the separators: the general rule costs more than the check.
  if (native.find("/.") != std::string::npos || native.find("//") != std::string::npos ||
      native.starts_with("./")) {
    return std::filesystem::path(native).lexically_normal().string();
  }
  return native;
}

namespace {

// The offset in traced that stands where offset stands in page: the same when the texts agree,
// else the same occurrence of the URL (a date macro, for one, differs from run to run).
std::optional<std::size_t> MatchingOffset(std::string_view page, std::string_view traced,
                                          std::size_t offset, std::string_view url) {
  if (page == traced) return offset;
  if (url.empty() || page.compare(offset, url.size(), url) != 0) return std::nullopt;
  std::size_t occurrence = 0;
  for (std::size_t at = page.find(url); at < offset; at = page.find(url, at + 1)) ++occurrence;
  std::size_t at = traced.find(url);
  for (; at != std::string_view::npos && occurrence > 0; --occurrence)
    at = traced.find(url, at + 1);
  if (at == std::string_view::npos) return std::nullopt;
  return at;
}

}  // namespace

LinkSources::LinkSources(const SourceContext& context)
    : context_(context),
      quiet_options_(context.options),
      log_{work_files_, context.fs, context.ui, quiet_options_} {
  quiet_options_.enable_logging = 0;
  SizeDefinitionTables(definition_);
  SizeMacroTables(macros_);
  try {
    ReadDefinition(
        DefinitionContext{context.fs, context.ui, context.project, context.options, definition_},
        true, false);
  } catch (const Error&) {
    return;
  }
  for (int f = 0; f < static_cast<int>(definition_.folders.size()); ++f) {
    const Folder& folder = definition_.folders[static_cast<std::size_t>(f)];
    if (folder.name.empty()) break;
    for (int d = 0; d < static_cast<int>(folder.documents.size()); ++d) {
      const Document& document = folder.documents[static_cast<std::size_t>(d)];
      if (document.path.empty()) break;
      documents_.emplace(ComparablePath(document.path), Place{f, d});
    }
  }
}

LinkSources::~LinkSources() = default;

namespace {

void LoadScope(const ContentLoadContext& loader, short scope, const std::vector<std::string>& files,
               int limit, short& loaded) {
  for (int i = 0; i < limit && i < static_cast<int>(files.size()); ++i) {
    if (files[static_cast<std::size_t>(i)].empty()) break;
    LoadContentFile(loader, scope, files[static_cast<std::size_t>(i)], i, false, true);
    ++loaded;
  }
}

}  // namespace

// The macros that apply to the document, loaded as a generation run loads them.
void LinkSources::LoadMacros(Place place) {
  const ProjectSettings& project = context_.project;
  const ContentLoadContext loader{project, context_.fs, log_, macros_};
  ClearCallParameters(macros_);
  ClearSwitches all;
  all.content_files = all.folder_globals = all.globals = all.project_macros = true;
  ClearMacroTables(macros_, all);
  if (!project.project_macro_file.empty()) {
    const std::string path = ResolveProjectPath(PathContext{context_.fs, project, context_.options},
                                                project.project_macro_file, true, false);
    LoadContentFile(loader, kProjectMacroScope, path, 0, false, true);
    macros_.project_macro_file_loaded = true;
  }
  LoadScope(loader, kGlobalScope, definition_.global_content_files, project.max_globals,
            macros_.globals_loaded);
  const Folder& folder = definition_.folders[static_cast<std::size_t>(place.folder)];
  LoadScope(loader, kFolderGlobalScope, folder.content_files, project.max_folder_globals,
            macros_.folder_globals_loaded);
  const Document& document = folder.documents[static_cast<std::size_t>(place.document)];
  LoadScope(loader, kContentFileScope, document.content_files, project.max_content_files,
            macros_.content_files_loaded);
}

// Expands the document again in memory, recording where its text came from; nothing when it
// cannot be expanded now.
std::unique_ptr<OriginRecorder> LinkSources::Trace(Place place) {
  try {
    LoadMacros(place);
    const ExpansionContext expansion{context_.project, definition_, macros_, context_.clock};
    auto recorder = std::make_unique<OriginRecorder>(context_.project.tags, macros_);
    recorder->write_files = false;
    DocumentGeneratorContext generator{expansion, context_.fs, log_};
    generator.origins = recorder.get();
    GenerateDocument(generator, place.folder, place.document);
    return recorder;
  } catch (const Error&) {
    return nullptr;
  }
}

const LinkSources::Traced& LinkSources::TraceOnce(const std::string& key, Place place) {
  std::unique_ptr<Traced>& traced = traced_[key];
  if (traced) return *traced;
  traced = std::make_unique<Traced>();
  const Document& document = definition_.folders[static_cast<std::size_t>(place.folder)]
                                 .documents[static_cast<std::size_t>(place.document)];
  traced->is_static = document.template_path.empty();
  if (!traced->is_static) traced->recorder = Trace(place);
  return *traced;
}

const std::vector<std::string>& LinkSources::FileLines(const std::string& file) {
  auto [at, added] = file_lines_.try_emplace(file);
  if (added) {
    try {
      at->second = context_.fs.ReadLines(file);
    } catch (const Error&) {
      // A source that cannot be read now still names its line.
    }
  }
  return at->second;
}

// The line of file that holds url: the line itself for template text (0 when it does not hold
// it), or for a macro's value the value's line that holds it, the one at or after estimate
// first.
int LinkSources::LineHolding(const std::string& file, int from, int estimate, bool value,
                             std::string_view url) {
  const std::vector<std::string>& lines = FileLines(file);
  if (!value) {
    const auto index = static_cast<std::size_t>(from - 1);
    return index < lines.size() && lines[index].find(url) != std::string::npos ? from : 0;
  }
  const MacroTags& tags = context_.project.tags;
  const std::string end_line = context_.project.macro_end_line.empty()
                                   ? tags.macro_start + tags.macro_end
                                   : context_.project.macro_end_line;
  int first = 0;
  for (auto index = static_cast<std::size_t>(from); index < lines.size(); ++index) {
    if (lines[index].starts_with(end_line)) break;
    if (lines[index].find(url) == std::string::npos) continue;
    const int line = static_cast<int>(index) + 1;
    if (line >= estimate) return line;
    if (first == 0) first = line;
  }
  return first;
}

std::optional<LinkSource> LinkSources::Find(const std::string& page_path,
                                            std::string_view page_text, std::size_t offset,
                                            std::string_view url) {
  const std::string key = ComparablePath(page_path);
  auto document = documents_.find(key);
  if (document == documents_.end()) return std::nullopt;
  const Traced& traced = TraceOnce(key, document->second);
  if (traced.is_static) {
    LinkSource source;
    source.file = page_path;
    source.line = LineAndColumn(page_text, offset).first;
    return source;
  }
  if (!traced.recorder) return std::nullopt;
  const OriginRecorder& recorder = *traced.recorder;
  const std::optional<std::size_t> at = MatchingOffset(page_text, recorder.document(), offset, url);
  if (!at) return std::nullopt;
  // The chain from the innermost origin (a value) out to the template line that started it.
  std::vector<const TextOrigin*> chain;
  for (const TextOrigin* origin = recorder.OriginAt(*at); origin != nullptr;
       origin = origin->call < 0 ? nullptr : &recorder.origin(origin->call)) {
    if (origin->file >= 0) chain.push_back(origin);
  }
  if (chain.empty()) return std::nullopt;
  // The link was written where its text stands; a link put together from a macro's parameters
  // stands at the tag that called the macro.
  std::size_t chosen = 0;
  int line = chain[0]->line;
  for (std::size_t i = 0; i < chain.size(); ++i) {
    const TextOrigin& origin = *chain[i];
    const bool value = !origin.macro.empty();
    const std::string& file = recorder.files()[static_cast<std::size_t>(origin.file)];
    const int found =
        LineHolding(file, value ? origin.definition_line : origin.line, origin.line, value, url);
    if (found > 0) {
      chosen = i;
      line = found;
      break;
    }
  }
  LinkSource source;
  source.file = recorder.files()[static_cast<std::size_t>(chain[chosen]->file)];
  source.line = line;
  source.value_of = chain[chosen]->macro;
  if (chosen > 0) {
    // The innermost macro built the link around text written further out.
    source.macro = chain[0]->macro;
    source.macro_file = recorder.files()[static_cast<std::size_t>(chain[0]->file)];
    source.macro_line = chain[0]->definition_line;
  }
  return source;
}

}  // namespace pentrak
