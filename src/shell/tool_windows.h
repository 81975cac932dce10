#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/user_interface.h"
#include "search/replace.h"
#include "search/search.h"

namespace pentrak {

struct Workbench;

// The status list of a search or replace window (not the main window's); the view draws it.
class StatusList {
 public:
  virtual ~StatusList() = default;
  virtual void Add(std::string_view line) = 0;
  virtual void Clear() = 0;
};

// Whether a tool window is working, and its Stop request, which only a running window takes.
// on_change, when set, is called as a run starts and ends, so the view can relabel its buttons.
class ToolRun {
 public:
  bool running() const { return running_; }
  bool stop_requested() const { return stop_requested_; }
  void RequestStop() { stop_requested_ = running_; }
  void Start();
  void Finish();

  std::function<void()> on_change;

 private:
  bool running_ = false;
  bool stop_requested_ = false;
};

// The seam as a tool window's run sees it: status lines go to the window's own list, a Stop
// click on the window is taken in while events are serviced, and everything else (questions,
// messages, choosers) goes to the program's user interface. The main window's Stop belongs to
// generation and does not stop a search.
class ToolWindowUserInterface : public UserInterface {
 public:
  ToolWindowUserInterface(UserInterface& program, StatusList& status, const ToolRun& run)
      : program_(program), status_(status), run_(run) {}

  Answer ShowMessage(std::string_view title, std::string_view text, Icon icon,
                     Buttons buttons) override;
  FourButtonAnswer AskFourButtons(std::string_view title, std::string_view text, FourButtons shown,
                                  FourButtonAnswer preset) override;
  void AddStatusLine(std::string_view text) override { status_.Add(text); }
  void ClearStatus() override { status_.Clear(); }
  bool ServiceEvents() override;
  void Beep() override { program_.Beep(); }
  std::optional<std::string> ChooseOpenFile(std::string_view title, std::string_view filter,
                                            std::string_view initial_path) override;
  std::optional<std::string> ChooseSaveFile(std::string_view title, std::string_view filter,
                                            std::string_view initial_path) override;

 private:
  UserInterface& program_;
  StatusList& status_;
  const ToolRun& run_;
};

// The caption of the button that starts a run ("Search" or "Replace"), which reads "Stop"
// while the run goes on.
std::string_view RunButtonCaption(const ToolRun& run, std::string_view idle_caption);

// The Close button works only while no run is in progress.
bool CloseButtonEnabled(const ToolRun& run);

// The Find window (mnuSearch) or, in documents mode, Find in Documents (mnuSearchDocuments).
// The request holds every option; the current folder and document are the main window's and
// are given with each press.
struct SearchWindow {
  SearchRequest request;
  ToolRun run;
  SearchSummary summary;  // of the last run
};

SearchWindow OpenSearchWindow(bool documents_mode);

// "Find in Documents" in documents mode, "Find" otherwise.
std::string_view SearchWindowTitle(const SearchWindow& window);

// While idle: a find text and, in project mode, at least one kind of file. While running the
// button is Stop and always works.
bool SearchButtonEnabled(const SearchWindow& window);

// The Search button: while a run goes on it requests the stop; otherwise it runs a search over
// the current project into the window's status list and results views. A failure is shown
// through the common error report.
void PressSearch(Workbench& workbench, SearchWindow& window, StatusList& status,
                 ResultsView& results, int current_folder, int current_document);

// Closing the window: refused with the "Search In Progress" message while a search runs.
bool MayCloseSearchWindow(UserInterface& ui, const SearchWindow& window);

// The Replace window (mnuReplace): the options of a project-mode search plus the replacement
// and the detailed-results switch.
struct ReplaceWindow {
  ReplaceRequest request;
  ToolRun run;
  ReplaceSummary summary;  // of the last run
};

inline constexpr std::string_view kReplaceWindowTitle = "Replace";

// While idle: a find text and at least one kind of file (an empty find would rewrite every file
// for nothing). While running the button is Stop and always works.
bool ReplaceButtonEnabled(const ReplaceWindow& window);

// The Replace button: while a run goes on it requests the stop; otherwise it asks "Confirm
// Replace" and replaces across the current project, read-only files left alone.
void PressReplace(Workbench& workbench, ReplaceWindow& window, StatusList& status,
                  ResultsView& results, int current_folder, int current_document);

// Closing the window: refused with the "Operation In Progress" message while a replace runs.
bool MayCloseReplaceWindow(UserInterface& ui, const ReplaceWindow& window);

// The Replace Special window (mnuReplaceSpecial): repairs the line endings of one file.
struct ReplaceSpecialWindow {
  std::string path;
  std::optional<int> replaced;  // of the last repair; nothing when the file was not fixed
};

inline constexpr std::string_view kReplaceSpecialWindowTitle = "Replace Special";
inline constexpr std::string_view kReplaceSpecialFilter = "All Files|*.*";

// Browses for the file to repair; a chosen file fills the path field.
void BrowseReplaceSpecialFile(UserInterface& ui, ReplaceSpecialWindow& window);

bool ReplaceSpecialEnabled(const ReplaceSpecialWindow& window);

// Repairs the chosen file, reporting in the window's status list ("File fixed. n occurrences
// replaced."); a failure is shown through the common error report.
void PressReplaceSpecial(Workbench& workbench, ReplaceSpecialWindow& window, StatusList& status);

}  // namespace pentrak
