#include "gui/dialog_screenshots.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTabWidget>

#include "gui/qt_text.h"

namespace pentrak {

namespace {

QDialog* OpenFromMenu(QMainWindow& window, const char* action, const char* dialog) {
  window.findChild<QAction*>(QString::fromLatin1(action))->trigger();
  return ShownDialog(window, dialog);
}

// "HTML Optimization" becomes "html-optimization".
std::string FileNamePart(QString caption) {
  caption.remove(QLatin1Char('&'));
  return FromQt(caption.toLower().replace(QLatin1Char(' '), QLatin1Char('-')));
}

bool SaveEachTab(QDialog& dialog, const std::string& prefix,
                 const std::function<bool(QWidget&, const std::string&)>& save) {
  auto* tabs = dialog.findChild<QTabWidget*>();
  bool saved = true;
  for (int i = 0; i < tabs->count(); ++i) {
    tabs->setCurrentIndex(i);
    saved = save(dialog, prefix + "-" + FileNamePart(tabs->tabText(i)) + ".png") && saved;
  }
  return saved;
}

}  // namespace

QDialog* ShownDialog(const QWidget& window, const char* name) {
  for (QDialog* dialog : window.findChildren<QDialog*>(QString::fromLatin1(name))) {
    if (dialog->isVisible()) return dialog;
  }
  return nullptr;
}

bool SaveDialogScreenshots(QMainWindow& window, const std::string& options_file,
                           const std::function<bool(QWidget&, const std::string&)>& save) {
  QDialog* options = OpenFromMenu(window, "mnuOptions", "frmOptions");
  bool saved = SaveEachTab(*options, "options", save);
  options->reject();

  QDialog* properties = OpenFromMenu(window, "mnuProjectProperties", "frmProjectProperties");
  saved = SaveEachTab(*properties, "properties", save) && saved;
  properties->reject();

  QDialog* new_project = OpenFromMenu(window, "mnuNewProject", "frmProjectProperties");
  saved = save(*new_project, "new-project.png") && saved;
  new_project->reject();

  QDialog* wizard = OpenFromMenu(window, "mnuImportOptions", "frmImportOptions");
  auto* path = wizard->findChild<QLineEdit*>(QStringLiteral("txtOptionsFile"));
  path->setText(ToQt(options_file));
  // As if typed, so that the wizard takes the path.
  Q_EMIT path->textEdited(path->text());
  saved = save(*wizard, "import-options-step1.png") && saved;
  wizard->findChild<QPushButton*>(QStringLiteral("cmdNext"))->click();
  saved = save(*wizard, "import-options-step2.png") && saved;
  wizard->reject();
  return saved;
}

}  // namespace pentrak
