// The main window's commands: generation, Stop, the batch run, the project commands and the
// document actions.

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QListWidget>
#include <QTimer>

#include "generation/command_line.h"
#include "generation/generation_run.h"
#include "gui/main_window.h"
#include "gui/qt_user_interface.h"
#include "gui/window_commands.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "settings/display_settings_file.h"
#include "shell/batch_run.h"
#include "shell/generation_commands.h"
#include "shell/history_commands.h"
#include "shell/launcher.h"
#include "shell/project_properties_dialog.h"
#include "shell/startup.h"
#include "shell/workbench.h"

namespace pentrak {

void MainWindow::Trap(const std::function<void()>& command) { RunTrapped(workbench_.ui, command); }

LaunchContext MainWindow::Launch() const {
  std::string stand_in = ResolvedDocumentPath();
  if (stand_in.empty()) stand_in = FolderOfPath(DefinitionFilePath());
  return LaunchContext{workbench_.options, workbench_.project, processes_, workbench_.ui,
                       std::move(stand_in)};
}

void MainWindow::SetSwitch(short& value, bool checked) {
  value = checked ? 1 : 0;
  WriteDisplaySettings(workbench_.fs, workbench_.program_folder, workbench_.display);
}

void MainWindow::SetGenerating(bool generating) {
  generating_ = generating;
  UpdateCommandStates();
}

void MainWindow::Generate(short scope) {
  if (generating_ || workbench_.project.project_file_path.empty()) return;
  if (scope != kScopeProject && folder_index_ < 0) return;
  if (scope == kScopeDocument && document_index_ < 0) return;
  SetGenerating(true);
  GenerationContext context = GenerationContextOf(workbench_);
  context.refresh_display = [this] { DisplayCurrentProject(); };
  RunGeneration(context, scope, folder_index_, document_index_);
  SetGenerating(false);
  if (close_after_run_) close();
}

void MainWindow::Stop() { ui_.RequestStop(); }

bool MainWindow::ArmBatchTimer() {
  if (!AsksForBatchRun(workbench_.batch)) return false;
  batch_timer_->setInterval(1000);
  batch_timer_->start();
  return true;
}

void MainWindow::RunBatchTick() {
  batch_timer_->stop();
  SetGenerating(true);
  BatchWindow window;
  window.refresh_views = [this] {
    RefreshProjects();
    DisplayCurrentProject();
  };
  window.restore_window = [this] { showNormal(); };
  BatchOutcome outcome = RunBatch(workbench_, workbench_.batch, window);
  SetGenerating(false);
  exit_status_ = BatchExitStatus(outcome);
  if (!outcome.in_history) ui_.Note(NotInHistoryText(workbench_.batch.project_path));
  if (outcome.generated) DisplayCurrentProject();
  // Nobody can close a window that no screen shows, so without one the batch always ends.
  if (outcome.close_program || close_after_run_ || !ui_.HasScreen()) CloseProgram();
}

void MainWindow::CloseProgram() { close(); }

void MainWindow::closeEvent(QCloseEvent* event) {
  // A run in progress is stopped first; the window closes once it has ended.
  if (generating_) {
    close_after_run_ = true;
    ui_.RequestStop();
    event->ignore();
    return;
  }
  if (!MayCloseToolWindows()) {
    event->ignore();
    return;
  }
  StopPreview();
  event->accept();
}

void MainWindow::NewProject() {
  // The history's room is checked first (error 10003); the properties form follows.
  std::optional<ProjectPropertiesForm> form = OpenNewProject(workbench_);
  if (form) ShowProjectProperties(std::move(*form));
}

void MainWindow::OpenProjectCommand() {
  std::optional<std::string> chosen =
      workbench_.ui.ChooseOpenFile("Open Project", "Pentrak Projects|*.web", "*.web");
  if (!chosen || chosen->empty()) return;
  if (!OpenProjectFile(workbench_, *chosen)) return;
  folder_index_ = -1;
  document_index_ = -1;
  RefreshProjects();
  DisplayCurrentProject();
}

void MainWindow::RemoveProject() {
  if (!RemoveCurrentProject(workbench_)) return;
  folder_index_ = -1;
  document_index_ = -1;
  RefreshProjects();
  DisplayCurrentProject();
}

void MainWindow::ChooseProjectAt(int row) {
  int index = projects_->itemData(row).toInt();
  if (index == workbench_.history.current_index) return;
  Trap([this, index] { ChooseProject(workbench_, index); });
  folder_index_ = -1;
  document_index_ = -1;
  RefreshProjects();
  DisplayCurrentProject();
}

void MainWindow::DocumentAction(int action) {
  std::string path = ResolvedDocumentPath();
  if (path.empty()) return;
  LaunchContext launch = Launch();
  switch (action) {
    case 0:
      OpenWithAssociation(launch, path, 1);
      break;
    case 1:
      LaunchBrowser(launch, path);
      break;
    case 2:
      LaunchEditor(launch, path);
      break;
    case 3:
      // The content file selected beside the document, else its own last one.
      LaunchEditor(launch, SelectedContentFilePath());
      break;
    case 4:
      LaunchImageEditor(launch, path);
      break;
    case 5:
      LaunchXmlEditor(launch, path);
      break;
    case 7:
    case 8:
    case 9:
    case 10:
    case 11:
    case 12:
      LaunchCustomCommand(launch, path, action - 6);
      break;
    default:
      break;
  }
}

}  // namespace pentrak
