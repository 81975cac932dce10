#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "cli/file_selection.h"
#include "cli/session.h"
#include "search/replace.h"

namespace pentrak::cli {

namespace {

struct ReplaceArgs {
  FileSelectionArgs selection;
  std::string replacement;
  bool yes = false;
  bool details = false;
};

int RunReplace(const CommandContext& context, const ReplaceArgs& args) {
  ReplaceRequest request;
  if (!FillRequest(args.selection, true, request, context.err)) return kExitUsage;
  request.replacement = args.replacement;
  request.detailed = args.details;

  ConsoleAnswers answers;
  if (args.yes) {
    answers.ok_cancel_default = Answer::kOk;
  } else if (CanAskOnTerminal(context)) {
    answers.interactive = true;
  } else {
    context.err << "pentrak-cli: replace asks for confirmation and there is no terminal to ask "
                   "on; add --yes to replace without asking. Nothing was changed.\n";
    return kExitUsage;
  }

  return RunOnProjectFiles(
      context, answers, args.selection, request.selection, [&](const SearchContext& search) {
        ReplaceSummary summary = DoReplace(search, request);
        return summary.cancelled || summary.stopped ? kExitWithErrors : kExitCompleted;
      });
}

}  // namespace

void AddReplaceArguments(CLI::App& command, CommandContext& context) {
  ReplaceArgs& args = Bind<ReplaceArgs>(command, context, RunReplace);
  command.add_option("FIND", args.selection.find, "The text to replace")->required();
  command.add_option("REPLACEMENT", args.replacement, "The text to put in its place")->required();
  AddFileSelectionOptions(command, args.selection);
  command.add_flag("--yes", args.yes, "Replace without asking for confirmation");
  command.add_flag("--details", args.details, "List every line that had a hit");
}

}  // namespace pentrak::cli
