#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "cli/file_selection.h"
#include "cli/session.h"
#include "search/search.h"

namespace pentrak::cli {

namespace {

struct SearchArgs {
  FileSelectionArgs selection;
  bool definitions_only = false;
  bool documents = false;
};

int RunSearch(const CommandContext& context, const SearchArgs& args) {
  SearchRequest request;
  // The generated documents are searched whole: the kinds of source file do not apply.
  if (!FillRequest(args.selection, !args.documents, request, context.err)) return kExitUsage;
  request.definitions_only = args.definitions_only;
  request.documents_mode = args.documents;

  return RunOnProjectFiles(context, ConsoleAnswers{}, args.selection, request.selection,
                           [&](const SearchContext& search) {
                             return DoSearch(search, request).stopped ? kExitWithErrors
                                                                      : kExitCompleted;
                           });
}

}  // namespace

void AddSearchArguments(CLI::App& command, CommandContext& context) {
  SearchArgs& args = Bind<SearchArgs>(command, context, RunSearch);
  command.add_option("TEXT", args.selection.find, "The text to find")->required();
  AddFileSelectionOptions(command, args.selection);
  AddFlags(command, {
                        {"--definitions-only", &args.definitions_only,
                         "Count only the lines that define the macro named by TEXT"},
                        {"--documents", &args.documents,
                         "Search the generated documents instead of the source files"},
                    });
}

}  // namespace pentrak::cli
