// The main window's dialogs: program options, project properties and option import.

#include "gui/main_window.h"

#include <QScreen>

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
  // "Large Display" takes effect at once, not after a restart.
  if (workbench_.options.large_display != shown_large_display_) ApplyDisplaySize();
  // The options may name another history, so the current project may be another one.
  folder_index_ = -1;
  document_index_ = -1;
  ApplyCaptions();
  RefreshProjects();
  DisplayCurrentProject();
}

namespace {

// The designed size, shrunk to the screen's free area less room for the frame, so that no scale
// factor or small screen puts an edge of the window out of reach.
QSize FittedSize(const QWidget& window, QSize designed) {
  const QScreen* screen = window.screen();
  if (screen == nullptr) return designed;
  return designed.boundedTo(screen->availableGeometry().size() - QSize(16, 48));
}

}  // namespace

// The size "Large Display" asks for, fitted to the screen and centred on it; then the border.
void MainWindow::ApplyDisplaySize() {
  const ProgramOptions& options = workbench_.options;
  shown_large_display_ = options.large_display;
  setMinimumSize(0, 0);
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  resize(FittedSize(*this, options.large_display == 1 ? QSize(1360, 900) : QSize(1100, 720)));
  if (const QScreen* screen = this->screen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  ApplyBorder(options.resizable_border == 1);
}

// Without a resizable border the user cannot drag the window's edges; its size stays as fitted.
void MainWindow::ApplyBorder(bool resizable) {
  if (resizable) {
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  } else {
    setFixedSize(size());
  }
}

}  // namespace pentrak
