#include "shell/batch_run.h"

#include "generation/command_line.h"
#include "generation/generation_run.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/text_lines.h"
#include "settings/project_history.h"
#include "settings/settings_text.h"
#include "shell/exit_status.h"
#include "shell/generation_commands.h"
#include "shell/history_commands.h"
#include "shell/workbench.h"

namespace pentrak {

namespace {

// Paths from the command line are compared as the history's paths are, without regard to case
// and with either separator, so a path written the Windows way still finds its entry.
std::string ComparablePath(std::string_view path) {
  return ToLowerAscii(NormalizeSeparators(path));
}

bool ProjectFileHasName(const Workbench& workbench, const std::string& path) {
  return !GetFileSettingValue(workbench.fs, path, "name", workbench.project.project_file_path)
              .empty();
}

// The "Command Line Error" message around what is wrong: an empty "/project=" value says so
// rather than naming an empty file.
void ShowCommandLineError(UserInterface& ui, const std::string& path) {
  std::string text = "Error processing command line options.";
  text += '\r';
  text += path.empty() ? std::string("The option /project= names no Project file.")
                       : "The file " + path + " is not a valid Project file.";
  text += '\r';
  text += "Please verify that the command line settings are correct.";
  ui.ShowMessage("Command Line Error", text, Icon::kExclamation, Buttons::kOk);
}

// Marks every entry naming the project as current; true when one did.
bool MarkProjectCurrent(ProjectHistory& history, const std::string& path) {
  ClearCurrentProjectMark(history);
  std::string wanted = ComparablePath(path);
  bool matched = false;
  for (int i = 0; i <= history.last_index; ++i) {
    ProjectHistoryEntry& entry = history.entries[static_cast<std::size_t>(i)];
    if (ComparablePath(entry.project_file) != wanted) continue;
    entry.status = kHistoryCurrent;
    matched = true;
  }
  return matched;
}

bool GenerateProject(Workbench& workbench, const BatchWindow& window) {
  if (!SaveAndReloadProjectHistory(workbench)) return false;
  if (window.refresh_views) window.refresh_views();
  GenerationContext context = GenerationContextOf(workbench);
  context.shows_definition = false;
  GenerationRun run = RunGeneration(context, kScopeProject);
  return run.end == RunEnd::kCompleted && run.errors + run.missing_files == 0;
}

bool StartCommand(UserInterface& ui, const std::string& command) {
  try {
    StartCommandLine(command);
  } catch (const Error& error) {
    ReportError(ui, FileError(error, "Error starting the command ", command));
    return false;
  }
  return true;
}

}  // namespace

BatchOutcome RunBatch(Workbench& workbench, const BatchSettings& settings,
                      const BatchWindow& window) {
  BatchOutcome outcome;
  if (AsksForBatchRun(settings)) {
    if (settings.project_path.empty() || !ProjectFileHasName(workbench, settings.project_path)) {
      ShowCommandLineError(workbench.ui, settings.project_path);
      if (settings.window_mode == 1 && window.restore_window) window.restore_window();
      outcome.valid_project = false;
      return outcome;
    }
    // Without a match the mark stays cleared in memory only: the history file is not rewritten.
    outcome.in_history = MarkProjectCurrent(workbench.history, settings.project_path);
    if (outcome.in_history) {
      outcome.generated = true;
      outcome.run_failed = !GenerateProject(workbench, window);
    }
  }
  if (!settings.command.empty() && !StartCommand(workbench.ui, settings.command)) {
    outcome.run_failed = true;
  }
  if (settings.exit_when_done && !workbench.generation.stop_requested) {
    Delay(workbench.ui, workbench.clock, 2);
    outcome.close_program = true;
  }
  return outcome;
}

int BatchExitStatus(const BatchOutcome& outcome) {
  if (!outcome.valid_project) return kExitUsage;
  return outcome.run_failed || !outcome.in_history ? kExitWithErrors : kExitCompleted;
}

std::string NotInHistoryText(const std::string& project_path) {
  return "The Project file " + project_path +
         " is not in the project history and was not generated.";
}

}  // namespace pentrak
