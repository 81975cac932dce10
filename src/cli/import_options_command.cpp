#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <ostream>

#include "cli/commands.h"
#include "cli/session.h"
#include "platform/paths.h"
#include "shell/option_import_wizard.h"
#include "shell/workbench.h"

namespace pentrak::cli {

namespace {

constexpr std::string_view kImportFrom = "import-from=";

struct ImportOptions {
  std::string options_file;
  std::string history;  // "", "import", "import-from=FILE", "keep" or "own"
};

// A path typed on the command line as the wizard's path field keeps it, made absolute so that
// folders compare as the wizard compares them.
std::string TypedPath(std::string_view typed) {
  std::string path(typed);
  LeaveImportPathField(path);
  return AbsolutePath(path);
}

std::string CheckHistoryChoice(const std::string& value) {
  if (value == "import" || value == "keep" || value == "own") return "";
  if (value.starts_with(kImportFrom) && value.size() > kImportFrom.size()) return "";
  return "must be import, import-from=FILE, keep or own";
}

// Selects the choice --history names; without it the wizard's recommendation stands.
void SelectHistoryChoice(OptionImportWizard& wizard, const std::string& history) {
  if (history == "import") wizard.choice = HistoryChoice::kImportNamed;
  if (history == "keep") wizard.choice = HistoryChoice::kKeepNamed;
  if (history == "own") wizard.choice = HistoryChoice::kUseOwn;
  if (history.starts_with(kImportFrom)) {
    ChooseOtherHistoryFile(wizard, TypedPath(std::string_view(history).substr(kImportFrom.size())));
  }
}

int RunImportOptions(CommandContext& context, const ImportOptions& options) {
  // A history file missing where the imported options point is created without asking, as a
  // first run creates it.
  ConsoleAnswers answers;
  answers.ok_cancel_default = Answer::kOk;
  Session session(context, answers);
  if (!session.Start()) return kExitUsage;
  Workbench& workbench = session.workbench();
  OptionImportWizard wizard = OpenOptionImportWizard(workbench);
  wizard.options_path = TypedPath(options.options_file);
  if (!ImportOptionsNext(workbench, wizard)) return kExitWithErrors;
  SelectHistoryChoice(wizard, options.history);
  if (!ImportOptionsFinish(workbench, wizard)) return kExitWithErrors;
  context.out << "Imported the program options from " << wizard.options_path
              << "; the project history is " << workbench.options.project_history_file << ".\n";
  return kExitCompleted;
}

}  // namespace

void AddImportOptionsArguments(CLI::App& command, CommandContext& context) {
  ImportOptions& o = Bind<ImportOptions>(command, context, RunImportOptions);
  command.add_option("options", o.options_file, "The program options file to import")->required();
  command
      .add_option("--history", o.history,
                  "import (copy the history the options name), import-from=FILE (copy FILE), "
                  "keep (use the history the options name) or own (this program's history); "
                  "default: the recommended choice")
      ->check(CLI::Validator(CheckHistoryChoice, "CHOICE"));
}

}  // namespace pentrak::cli
