#include "shell/tool_windows.h"

#include "platform/error.h"
#include "settings/work_files.h"
#include "shell/workbench.h"

namespace pentrak {

namespace {

bool AnyKindOfFile(const FileSelection& selection) {
  return selection.globals || selection.folder_globals || selection.templates ||
         selection.content_files;
}

// A press while a run goes on is the Stop click; otherwise it starts a run over the main
// window's current folder and document, which work does with the window's own seam. An error
// ends the run and is shown by the program.
void PressRunButton(Workbench& workbench, ToolRun& run, FileSelection& selection,
                    StatusList& status, ResultsView& results, int current_folder,
                    int current_document, const std::function<void(const SearchContext&)>& work) {
  if (run.running()) {
    run.RequestStop();
    return;
  }
  selection.current_folder = current_folder;
  selection.current_document = current_document;
  ToolWindowUserInterface ui(workbench.ui, status, run);
  LogContext log{workbench.work_files, workbench.fs, ui, workbench.options};
  run.Start();
  try {
    work({workbench.project, workbench.definition, log, workbench.search_files, results});
  } catch (const Error& error) {
    ReportError(workbench.ui, error);
  }
  run.Finish();
}

bool MayClose(UserInterface& ui, const ToolRun& run, std::string_view title,
              std::string_view text) {
  if (!run.running()) return true;
  ui.ShowMessage(title, text, Icon::kExclamation, Buttons::kOk);
  return false;
}

}  // namespace

void ToolRun::Start() {
  running_ = true;
  stop_requested_ = false;
  if (on_change) on_change();
}

void ToolRun::Finish() {
  running_ = false;
  if (on_change) on_change();
}

Answer ToolWindowUserInterface::ShowMessage(std::string_view title, std::string_view text,
                                            Icon icon, Buttons buttons) {
  return program_.ShowMessage(title, text, icon, buttons);
}

FourButtonAnswer ToolWindowUserInterface::AskFourButtons(std::string_view title,
                                                         std::string_view text, FourButtons shown,
                                                         FourButtonAnswer preset) {
  return program_.AskFourButtons(title, text, shown, preset);
}

bool ToolWindowUserInterface::ServiceEvents() {
  // A click on the window's Stop button arrives while the program services its events.
  program_.ServiceEvents();
  return run_.stop_requested();
}

std::optional<std::string> ToolWindowUserInterface::ChooseOpenFile(std::string_view title,
                                                                   std::string_view filter,
                                                                   std::string_view initial_path) {
  return program_.ChooseOpenFile(title, filter, initial_path);
}

std::optional<std::string> ToolWindowUserInterface::ChooseSaveFile(std::string_view title,
                                                                   std::string_view filter,
                                                                   std::string_view initial_path) {
  return program_.ChooseSaveFile(title, filter, initial_path);
}

std::string_view RunButtonCaption(const ToolRun& run, std::string_view idle_caption) {
  return run.running() ? "Stop" : idle_caption;
}

bool CloseButtonEnabled(const ToolRun& run) { return !run.running(); }

SearchWindow OpenSearchWindow(bool documents_mode) {
  SearchWindow window;
  window.request.documents_mode = documents_mode;
  return window;
}

std::string_view SearchWindowTitle(const SearchWindow& window) {
  return window.request.documents_mode ? "Find in Documents" : "Find";
}

bool SearchButtonEnabled(const SearchWindow& window) {
  if (window.run.running()) return true;
  const SearchRequest& request = window.request;
  return !request.find_text.empty() && (request.documents_mode || AnyKindOfFile(request.selection));
}

void PressSearch(Workbench& workbench, SearchWindow& window, StatusList& status,
                 ResultsView& results, int current_folder, int current_document) {
  if (!SearchButtonEnabled(window)) return;
  PressRunButton(workbench, window.run, window.request.selection, status, results, current_folder,
                 current_document, [&window](const SearchContext& context) {
                   window.summary = DoSearch(context, window.request);
                 });
}

bool MayCloseSearchWindow(UserInterface& ui, const SearchWindow& window) {
  return MayClose(ui, window.run, "Search In Progress",
                  "There is a search in progress. Please stop the search before closing the "
                  "form.");
}

bool ReplaceButtonEnabled(const ReplaceWindow& window) {
  if (window.run.running()) return true;
  return !window.request.find_text.empty() && AnyKindOfFile(window.request.selection);
}

void PressReplace(Workbench& workbench, ReplaceWindow& window, StatusList& status,
                  ResultsView& results, int current_folder, int current_document) {
  if (!ReplaceButtonEnabled(window)) return;
  PressRunButton(workbench, window.run, window.request.selection, status, results, current_folder,
                 current_document, [&window](const SearchContext& context) {
                   window.summary = DoReplace(context, window.request);
                 });
}

bool MayCloseReplaceWindow(UserInterface& ui, const ReplaceWindow& window) {
  return MayClose(ui, window.run, "Operation In Progress",
                  "There is an operation in progress. Please stop the operation before closing "
                  "the form.");
}

void BrowseReplaceSpecialFile(UserInterface& ui, ReplaceSpecialWindow& window) {
  std::optional<std::string> chosen =
      ui.ChooseOpenFile(kReplaceSpecialWindowTitle, kReplaceSpecialFilter, window.path);
  if (chosen && !chosen->empty()) window.path = *chosen;
}

bool ReplaceSpecialEnabled(const ReplaceSpecialWindow& window) { return !window.path.empty(); }

void PressReplaceSpecial(Workbench& workbench, ReplaceSpecialWindow& window, StatusList& status) {
  if (!ReplaceSpecialEnabled(window)) return;
  ToolRun run;
  ToolWindowUserInterface ui(workbench.ui, status, run);
  window.replaced.reset();
  try {
    window.replaced =
        FixLineEndings(workbench.fs, ui, workbench.work_files.replace_work_file, window.path);
  } catch (const Error& error) {
    ReportError(workbench.ui, error);
  }
}

}  // namespace pentrak
