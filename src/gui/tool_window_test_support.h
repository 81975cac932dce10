#pragma once

// For tests only: a small project written into the desktop fixture's folder, opened in the main
// window, and the tool windows driven through their widgets.

#include <QAbstractButton>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <map>
#include <string>
#include <vector>

#include "gui/gui_test_support.h"

namespace pentrak {

// A project "Tools" below the fixture's folder: sources in src/, documents in out/.
class ToolProject {
 public:
  explicit ToolProject(DesktopFixture& desktop)
      : desktop_(desktop), root_(desktop.folder / "tools/") {
    desktop.workbench.fs.CreateFolderPath(root_ + "src/");
    desktop.workbench.fs.CreateFolderPath(root_ + "out/");
  }

  std::string Source(const std::string& name) const { return root_ + "src/" + name; }
  std::string Document(const std::string& name) const { return root_ + "out/" + name; }
  void Write(const std::string& path, const std::string& bytes) const {
    desktop_.workbench.fs.CreateFolderPath(path);
    desktop_.workbench.fs.WriteFile(path, bytes);
  }
  std::string Read(const std::string& path) const { return desktop_.workbench.fs.ReadFile(path); }

  // Writes the definition and the project file, and opens the project in the main window.
  void Open(const std::string& definition, const std::string& extra_settings = "") {
    Write(Source("project.txt"), definition);
    std::string file = root_ + "tools.web";
    Write(file, "name=Tools\r\ndocument-root=" + root_ + "out/\r\ncontent-root=" + root_ +
                    "src/\r\ndefinition-file=project.txt\r\n" + extra_settings);
    desktop_.ui.file_choices = {file};
    desktop_.Trigger("mnuOpenProject");
  }

 private:
  DesktopFixture& desktop_;
  std::string root_;
};

inline std::vector<std::string> ListLines(const QListWidget* list) {
  std::vector<std::string> lines;
  for (int row = 0; row < list->count(); ++row) lines.push_back(FromQt(list->item(row)->text()));
  return lines;
}

// The results list as the results file tells it: each file followed by a count line
// (">n occurrences found", ">n replacements made.", ">n occurrences found in read-only file...")
// gives "file (n)".
inline std::vector<std::string> ResultsFromResultsFile(const std::vector<std::string>& lines) {
  std::vector<std::string> entries;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.size() < 2 || line[0] != '>' || line[1] < '0' || line[1] > '9') continue;
    entries.push_back(lines[i - 1] + " (" + line.substr(1, line.find(' ') - 1) + ")");
  }
  return entries;
}

// The captions of a window's shown buttons and labels, by the mnemonic letter each carries.
inline std::multimap<QChar, QString> Mnemonics(const QWidget* window) {
  std::multimap<QChar, QString> letters;
  auto add = [&letters](const QString& caption) {
    qsizetype at = caption.indexOf(QLatin1Char('&'));
    if (at >= 0 && at + 1 < caption.size() && caption[at + 1] != QLatin1Char('&')) {
      letters.emplace(caption[at + 1].toLower(), caption);
    }
  };
  for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
    if (button->isVisibleTo(window)) add(button->text());
  }
  for (const QLabel* label : window->findChildren<QLabel*>()) {
    if (label->isVisibleTo(window) && label->buddy() != nullptr) add(label->text());
  }
  return letters;
}

}  // namespace pentrak
