// The main window's Preview command: the live preview pentrak-cli preview runs, served while
// the window is open and stepped from a timer on the window's thread.

#include <QAction>
#include <QTimer>
#include <chrono>

#include "gui/main_window.h"
#include "preview/preview_server.h"
#include "shell/launcher.h"
#include "shell/workbench.h"

namespace pentrak {

namespace {

// Often enough that a save shows in the browser at once, rarely enough to cost nothing idle.
constexpr int kPreviewStepMilliseconds = 100;

}  // namespace

void MainWindow::TogglePreview() {
  // A checkable action has already flipped; the server's state decides what it shows.
  if (generating_) {
    ShowPreviewState();
    return;
  }
  if (preview_->running()) {
    StopPreview();
    return;
  }
  if (workbench_.project.project_file_path.empty()) {
    ShowPreviewState();
    return;
  }
  // Starting generates every document (those that come out the same stay as they are): a run
  // like any other.
  SetGenerating(true);
  std::string failure = preview_->Start(PreviewOptions{});
  SetGenerating(false);
  ShowPreviewState();
  if (!failure.empty()) {
    workbench_.ui.ShowMessage("Preview", failure, Icon::kExclamation, Buttons::kOk);
    return;
  }
  previewed_project_ = workbench_.project.project_file_path;
  workbench_.ui.AddStatusLine("Serving " + workbench_.project.document_root + " at " +
                              preview_->Url());
  preview_timer_->start(kPreviewStepMilliseconds);
  // The run may have rewritten what the views show.
  DisplayCurrentProject();
  if (close_after_run_) {
    close();
    return;
  }
  LaunchBrowser(Launch(), preview_->Url());
}

void MainWindow::StopPreview() {
  preview_timer_->stop();
  if (preview_->running()) {
    preview_->Stop();
    workbench_.ui.AddStatusLine("Preview stopped.");
  }
  previewed_project_.clear();
  ShowPreviewState();
}

void MainWindow::ShowPreviewState() {
  bool running = preview_->running();
  for (QAction* action : preview_actions_) {
    action->setChecked(running);
    action->setToolTip(running ? QStringLiteral("Stop Preview")
                               : QStringLiteral("Preview the Site in the Browser"));
  }
}

void MainWindow::PreviewTick() {
  // A run in progress services events, and with them this timer; the saves wait for its end.
  if (generating_) return;
  StopPreviewOfAnotherProject();
  if (!preview_->running()) return;
  bool ran = false;
  Trap([this, &ran] { ran = preview_->Step(std::chrono::milliseconds(0)); });
  if (generating_) SetGenerating(false);  // a run ended by an error
  if (ran) DisplayCurrentProject();
  if (close_after_run_) close();
}

void MainWindow::StopPreviewOfAnotherProject() {
  if (preview_->running() && workbench_.project.project_file_path != previewed_project_) {
    StopPreview();
  }
}

}  // namespace pentrak
