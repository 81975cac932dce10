// Draws the main window on the sample project in a fresh program folder and saves PNGs, so the
// window can be looked at after every visible change (scripts/screenshot.sh runs it under Xvfb).

#include <unistd.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

#include "gui/desktop_start.h"
#include "gui/dialog_screenshots.h"
#include "gui/four_button_box.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"
#include "gui/qt_user_interface.h"
#include "platform/executable_path.h"
#include "platform/paths.h"
#include "shell/launcher.h"
#include "shell/program_folder.h"
#include "shell/workbench.h"

namespace {

// Answers every box with OK (the first-run questions) and tells what it answered.
class AnsweringUserInterface : public pentrak::QtUserInterface {
 public:
  pentrak::Answer ShowMessage(std::string_view title, std::string_view text, pentrak::Icon,
                              pentrak::Buttons) override {
    std::cerr << title << ": " << text << " -> OK\n";
    return pentrak::Answer::kOk;
  }
};

void Settle() {
  for (int i = 0; i < 20; ++i) {
    QApplication::processEvents();
    ::usleep(20000);
  }
}

bool Save(QWidget& widget, const QString& folder, const char* name) {
  Settle();
  QString path = QDir(folder).filePath(QString::fromLatin1(name));
  if (!widget.grab().save(path)) {
    std::cerr << "could not write " << pentrak::FromQt(path) << "\n";
    return false;
  }
  std::cout << pentrak::FromQt(path) << "\n";
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::cerr << "usage: pentrak_screenshots OUTPUT-DIR PROGRAM-FOLDER\n";
    return 2;
  }
  QString out = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(out);
  AnsweringUserInterface ui;
  pentrak::Workbench workbench(ui, argv[2]);
  pentrak::SystemProcessStarter processes;
  std::string seed = pentrak::FolderOfPath(pentrak::ExecutablePath(argv[0]));
  auto window = pentrak::OpenMainWindow(workbench, ui, processes, {}, seed);
  if (!window) return 1;
  window->show();
  bool saved = Save(*window, out, "main-window.png");
  window->findChild<QAction*>(QStringLiteral("mnuGenerateProject"))->trigger();
  saved = Save(*window, out, "main-window-generated.png") && saved;
  for (const char* name : {"ckShowPaths", "ckShowAttributes", "ckShowMacros"}) {
    window->findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
  }
  saved = Save(*window, out, "main-window-details.png") && saved;
  for (auto [menu, viewer, file] :
       {std::tuple{"mnuViewContentFiles", "frmViewContentFiles", "content-files-viewer.png"},
        std::tuple{"mnuProjectBrowser", "frmProjectBrowser", "project-browser.png"}}) {
    window->findChild<QAction*>(QString::fromLatin1(menu))->trigger();
    auto* shown = window->findChild<QWidget*>(QString::fromLatin1(viewer));
    saved = Save(*shown, out, file) && saved;
    shown->close();
  }
  saved = pentrak::SaveDialogScreenshots(*window, pentrak::JoinPath(argv[2], "pentrak.ini"),
                                         [&out](QWidget& dialog, const std::string& file) {
                                           return Save(dialog, out, file.c_str());
                                         }) &&
          saved;
  // The tool windows: Find after a search, Replace and Replace Special filled in.
  struct Tool {
    const char* menu;
    const char* form;
    const char* field;
    const char* text;
    bool press;
    const char* file;
  };
  for (const Tool& tool :
       {Tool{"mnuSearch", "frmSearch", "txtFind", "Pentrak", true, "find-window.png"},
        Tool{"mnuReplace", "frmReplace", "txtFind", "Pentrak", false, "replace-window.png"},
        Tool{"mnuReplaceSpecial", "frmReplaceSpecial", "txtFile", "/srv/site/notes.txt", false,
             "replace-special-window.png"}}) {
    window->findChild<QAction*>(QString::fromLatin1(tool.menu))->trigger();
    auto* shown = window->findChild<QWidget*>(QString::fromLatin1(tool.form));
    shown->findChild<QLineEdit*>(QString::fromLatin1(tool.field))
        ->setText(QString::fromLatin1(tool.text));
    if (tool.press) shown->findChild<QAbstractButton*>(QStringLiteral("cmdSearch"))->click();
    saved = Save(*shown, out, tool.file) && saved;
    shown->close();
  }
  // Check Links after two links of the sample were broken at their source.
  const std::string index = pentrak::JoinPath(argv[2], "overview/index.par");
  std::string text = workbench.fs.ReadFile(index);
  for (auto [good, bad] : {std::pair{"macros/parameters.html", "macros/parameter.html"},
                           std::pair{"project/definition.html", "project/definition.html#files"}}) {
    text.replace(text.find(good), std::string_view(good).size(), bad);
  }
  workbench.fs.WriteFile(index, text);
  window->findChild<QAction*>(QStringLiteral("mnuGenerateProject"))->trigger();
  window->findChild<QAction*>(QStringLiteral("mnuCheckLinks"))->trigger();
  auto* check_links = window->findChild<QWidget*>(QStringLiteral("frmCheckLinks"));
  check_links->findChild<QAbstractButton*>(QStringLiteral("cmdCheck"))->click();
  saved = Save(*check_links, out, "check-links-window.png") && saved;
  check_links->close();
  pentrak::FourButtonBox box(window.get(), "Subdirectory Does Not Exist",
                             "The subdirectory /srv/site/news/ does not exist. Would you like "
                             "Pentrak to create this subdirectory?",
                             pentrak::FourButtons{}, pentrak::FourButtonAnswer::kCancel);
  box.show();
  saved = Save(box, out, "four-button-box.png") && saved;
  return saved ? 0 : 1;
}
