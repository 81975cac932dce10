#pragma once

#include <QGroupBox>
#include <QWidget>
#include <functional>

#include "gui/row_list_view.h"
#include "search/search.h"
#include "shell/tool_windows.h"

class QLabel;
class QLineEdit;
class QRadioButton;
class QCheckBox;
class QDialog;
class QPushButton;

namespace pentrak {

class ProcessStarter;
struct Workbench;

// The folder and document selected in the main window, as slots of the definition.
struct CurrentSelection {
  int folder = -1;
  int document = -1;
};

// What a tool window needs of the main window.
struct ToolWindowHost {
  Workbench& workbench;
  ProcessStarter& processes;
  std::function<CurrentSelection()> selection;
  // True while a generation or another tool window's run is in progress: two runs would share
  // the file list and the results file.
  std::function<bool()> busy;
  // Called as this window's run starts and ends.
  std::function<void()> run_changed;
};

// A tool window's own status list; the newest line stays in view.
class ListStatus : public StatusList {
 public:
  explicit ListStatus(StatusLines* lines) : lines_(lines) {}
  void Add(std::string_view line) override;
  void Clear() override;

 private:
  StatusLines* lines_;
};

// The scope of a search or replace and, in project mode, the four kinds of files. Every click
// is written into the request's selection at once.
class SelectionBox : public QGroupBox {
 public:
  SelectionBox(FileSelection& selection, QWidget* parent);

  // Documents mode offers all documents or the current one, and no kinds of files.
  void SetDocumentsMode(bool documents_mode);

  std::function<void()> on_change;

 private:
  FileSelection& selection_;
  QRadioButton* whole_ = nullptr;
  QRadioButton* current_ = nullptr;
  QWidget* kinds_ = nullptr;
};

// The results list (one entry per file with hits) and the detailed results (an entry for each
// file with hits, and below it, indented, one per line with hits). A double-click opens the file
// in the editor, at the line for a line's entry; the pop-up menu of both offers the editor and
// the custom commands. Entries reach the lists in blocks as a run goes.
class ResultsPanel : public QWidget, public ResultsView {
 public:
  ResultsPanel(Workbench& workbench, ProcessStarter& processes, QWidget* parent);

  void SetDetailsShown(bool shown);

  void Clear() override;
  void AddResult(const std::string& path, int count) override;
  void AddDetail(const LineHit& hit) override;

 private:
  struct Result {
    std::string path;
    int count = 0;
  };
  // A file's entry (line_number 0) or one of its lines; file indexes detail_files_.
  struct Detail {
    int file = 0;
    int line_number = 0;
    int count = 0;
    std::string text;
  };
  // The file (and line, 0 for none) of the entry the user acts on.
  struct Target {
    std::string path;
    int line = 0;
  };
  Target CurrentTarget(QWidget* view) const;
  void AddPopup(QWidget* view);
  QVariant ShowDetail(const Detail& detail, int role) const;

  Workbench& workbench_;
  ProcessStarter& processes_;
  RowListModel<Result>* results_model_ = nullptr;
  RowListView* results_ = nullptr;
  std::vector<std::string> detail_files_;  // the files of the detailed entries, in order
  RowListModel<Detail>* details_model_ = nullptr;
  QLabel* details_caption_ = nullptr;
  RowListView* details_ = nullptr;
};

// A tool window's Close button: it closes the window as Escape does and is never the default.
QPushButton* CloseButton(QDialog* window);

// A tool window's status list, named name, over its lines; the caption that goes over it is
// StatusCaption's.
RowListView* StatusView(const char* name, StatusLines* lines, QWidget* parent);
// The bold "Status" caption over view, named name.
QLabel* StatusCaption(const char* name, QWidget* view, QWidget* parent);

// A bold caption over a list, with a mnemonic that moves to it.
QLabel* ListCaption(const char* name, const QString& text, QWidget* buddy, QWidget* parent);

// A check box bound to one switch of a request: every click writes it, then calls changed.
QCheckBox* BoundCheckBox(const char* name, const QString& caption, bool& value, QWidget* parent,
                         const std::function<void()>& changed);

// A one-line text field bound to a text of a request: every edit writes it, then calls changed.
QLineEdit* BoundLineEdit(const char* name, std::string& value, QWidget* parent,
                         const std::function<void()>& changed);

}  // namespace pentrak
