#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "cli/console_user_interface.h"
#include "cli/headless.h"
#include "cli/search_commands.h"
#include "platform/error.h"
#include "search/replace.h"
#include "shell/workbench.h"

namespace pentrak::cli {

namespace {

struct ReplaceArgs {
  std::string find;
  std::string replacement;
  FileSelectionArgs selection;
  bool yes = false;
  bool details = false;
};

int RunReplace(const CommandContext& context, const ReplaceArgs& args) {
  if (args.find.empty()) {
    context.err << "pentrak-cli: the text to find is empty.\n";
    return 2;
  }
  ReplaceRequest request;
  request.find_text = args.find;
  request.replacement = args.replacement;
  request.ignore_case = args.selection.ignore_case;
  request.detailed = args.details;
  if (!ParseKinds(args.selection.kinds, request.selection, context.err)) return 2;

  ConsoleAnswers answers;
  if (args.yes) {
    answers.ok_cancel_default = Answer::kOk;
  } else if (CanAskOnTerminal(context)) {
    answers.interactive = true;
  } else {
    context.err << "pentrak-cli: replace asks for confirmation and there is no terminal to ask "
                   "on; add --yes to replace without asking. Nothing was changed.\n";
    return 2;
  }

  return RunOnProjectFiles(context, answers, args.selection, request.selection,
                           [&](const SearchContext& search) {
                             ReplaceSummary summary = DoReplace(search, request);
                             return summary.cancelled || summary.stopped ? 1 : 0;
                           });
}

int RunFixLineEndings(const CommandContext& context, const std::string& file) {
  ConsoleUserInterface ui(context.out, context.err, context.in, ConsoleAnswers{});
  std::optional<std::string> folder = ProgramFolderFor(context, ui);
  if (!folder) return 2;
  Workbench workbench(ui, *folder);
  if (!StartHeadless(workbench, context, "")) return 2;
  try {
    return FixLineEndings(workbench.fs, ui, workbench.work_files.replace_work_file, file) ? 0 : 1;
  } catch (const Error& error) {
    ReportError(ui, error);
    return 1;
  }
}

}  // namespace

void AddReplaceCommand(CLI::App& app, CommandContext& context) {
  auto args = std::make_shared<ReplaceArgs>();
  CLI::App* command = app.add_subcommand(
      "replace", "Replace a text in the project's source files; read-only files are left alone");
  command->add_option("FIND", args->find, "The text to replace")->required();
  command->add_option("REPLACEMENT", args->replacement, "The text to put in its place")->required();
  AddFileSelectionOptions(*command, args->selection);
  command->add_flag("--yes", args->yes, "Replace without asking for confirmation");
  command->add_flag("--details", args->details, "List every line that had a hit");
  command->callback([args, &context] {
    context.action = [args, &context] { return RunReplace(context, *args); };
  });
}

void AddFixLineEndingsCommand(CLI::App& app, CommandContext& context) {
  auto file = std::make_shared<std::string>();
  CLI::App* command = app.add_subcommand(
      "fix-line-endings", "Turn every lone carriage return of a file into a line break");
  command->add_option("FILE", *file, "The file to repair")->required();
  command->callback([file, &context] {
    context.action = [file, &context] { return RunFixLineEndings(context, *file); };
  });
}

}  // namespace pentrak::cli
