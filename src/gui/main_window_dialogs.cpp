// The main window's dialogs: program options, project properties and option import.

#include "gui/main_window.h"
#include "gui/option_import_window.h"
#include "gui/program_options_window.h"
#include "gui/project_properties_window.h"
#include "gui/qt_user_interface.h"
#include "shell/project_properties_dialog.h"
#include "shell/workbench.h"

namespace pentrak {

namespace {

// Opens a dialog over the window; the message boxes it raises stand over the dialog until it
// is done.
void OpenOver(QWidget* window, QtUserInterface& ui, QDialog* dialog) {
  ui.SetParentWindow(dialog);
  QObject::connect(dialog, &QDialog::finished, window,
                   [window, &ui] { ui.SetParentWindow(window); });
  dialog->open();
}

}  // namespace

void MainWindow::ShowProgramOptions() {
  auto* dialog = new ProgramOptionsWindow(
      workbench_, [this](bool resizable) { ApplyBorder(resizable); },
      [this] { ShowChangedOptions(); }, this);
  OpenOver(this, ui_, dialog);
}

void MainWindow::ShowProjectProperties(ProjectPropertiesForm form) {
  bool new_project = form.new_project_mode;
  auto* dialog = new ProjectPropertiesWindow(
      workbench_, std::move(form),
      [this, new_project] {
        // A new project is the current one now, shown from its first folder.
        if (new_project) {
          folder_index_ = -1;
          document_index_ = -1;
        }
        RefreshProjects();
        DisplayCurrentProject();
      },
      this);
  OpenOver(this, ui_, dialog);
}

void MainWindow::ShowImportOptions() {
  // Imported options bring their own border, as confirmed options do.
  auto* dialog = new OptionImportWindow(
      workbench_,
      [this] {
        ApplyBorder(workbench_.options.resizable_border == 1);
        ShowChangedOptions();
      },
      this);
  OpenOver(this, ui_, dialog);
}

void MainWindow::ShowChangedOptions() {
  // The options may name another history, so the current project may be another one.
  folder_index_ = -1;
  document_index_ = -1;
  ApplyCaptions();
  RefreshProjects();
  DisplayCurrentProject();
}

// Without a resizable border the window keeps the size it was laid out for.
void MainWindow::ApplyBorder(bool resizable) {
  if (resizable) {
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  } else {
    setFixedSize(size());
  }
}

}  // namespace pentrak
