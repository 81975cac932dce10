#include "cli/file_selection.h"

#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/session.h"
#include "platform/error.h"
#include "project/document_selector.h"
#include "search/search.h"
#include "shell/workbench.h"

namespace pentrak::cli {

namespace {

// The results list, then each line with hits as "path:line: text".
void PrintResults(std::ostream& out, const RecordedResults& results) {
  for (const std::string& entry : results.results) out << entry << '\n';
  for (const LineHit& hit : results.details) {
    out << hit.path << ':' << hit.line_number << ": " << hit.text << '\n';
  }
}

}  // namespace

void AddFileSelectionOptions(CLI::App& command, FileSelectionArgs& args) {
  command.add_option("PROJECT", args.project,
                     "Project file (.web); the current project if omitted");
  command.add_option("--document", args.document,
                     "Only this document: [FOLDER/]DOC, DOC as the definition file writes it");
  command.add_option("--kinds", args.kinds,
                     "Kinds of source file, comma-separated: globals, folder-globals, templates, "
                     "content-files (default: all)");
  command.add_flag("--ignore-case", args.ignore_case, "Compare letters without regard to case");
}

bool HasTextToFind(const FileSelectionArgs& args, std::ostream& err) {
  if (!args.find.empty()) return true;
  err << "pentrak-cli: the text to find is empty.\n";
  return false;
}

bool ParseKinds(const std::string& kinds, FileSelection& selection, std::ostream& err) {
  selection.globals = selection.folder_globals = selection.templates = false;
  selection.content_files = false;
  std::size_t start = 0;
  while (start <= kinds.size()) {
    std::size_t end = kinds.find(',', start);
    if (end == std::string::npos) end = kinds.size();
    std::string kind = kinds.substr(start, end - start);
    if (kind == "globals") {
      selection.globals = true;
    } else if (kind == "folder-globals") {
      selection.folder_globals = true;
    } else if (kind == "templates") {
      selection.templates = true;
    } else if (kind == "content-files") {
      selection.content_files = true;
    } else if (!kind.empty()) {
      err << "pentrak-cli: unknown kind of file \"" << kind
          << "\"; the kinds are globals, folder-globals, templates and content-files.\n";
      return false;
    }
    start = end + 1;
  }
  if (selection.globals || selection.folder_globals || selection.templates ||
      selection.content_files) {
    return true;
  }
  err << "pentrak-cli: --kinds names no kind of file to search.\n";
  return false;
}

bool SelectDocument(const std::string& document, const ProjectDefinition& definition,
                    FileSelection& selection, std::ostream& err) {
  if (document.empty()) return true;
  DocumentChoice choice = ChooseDocument(definition, "", document);
  if (!choice.error.empty()) {
    err << "pentrak-cli: " << choice.error << '\n';
    return false;
  }
  selection.scope = SearchScope::kCurrentDocument;
  selection.current_folder = choice.folder;
  selection.current_document = choice.document;
  return true;
}

int RunOnProjectFiles(const CommandContext& context, const ConsoleAnswers& answers,
                      const FileSelectionArgs& args, FileSelection& selection,
                      const std::function<int(const SearchContext&)>& work) {
  Session session(context, answers);
  session.StopOnInterrupt();
  if (!session.StartWithProject(args.project) || !session.ReadDefinition()) return kExitUsage;
  Workbench& workbench = session.workbench();
  if (!SelectDocument(args.document, workbench.definition, selection, context.err)) {
    return kExitUsage;
  }
  RecordedResults results;
  const LogContext log = LogContextOf(workbench);
  try {
    int status =
        work({workbench.project, workbench.definition, log, workbench.search_files, results});
    PrintResults(context.out, results);
    return status;
  } catch (const Error& error) {
    ReportError(workbench.ui, error);
    return kExitWithErrors;
  }
}

}  // namespace pentrak::cli
