#pragma once

#include <QDialog>

#include "gui/tool_window_parts.h"
#include "shell/tool_windows.h"

class QLineEdit;
class QPushButton;

namespace pentrak {

// The Replace window "frmReplace" (mnuReplace): the find and replacement texts, the options of a
// project-mode search, the Replace button that reads "Stop" while a run goes on, its own status
// list, and the results.
class ReplaceForm : public QDialog {
 public:
  ReplaceForm(ToolWindowHost host, QWidget* parent);

  void Open();
  bool Running() const { return model_.run.running(); }
  void UpdateButtons();

  // Escape and the window's close box: refused while a replace runs.
  void reject() override;

 private:
  ToolWindowHost host_;
  ReplaceWindow model_;
  QLineEdit* find_ = nullptr;
  QLineEdit* replacement_ = nullptr;
  SelectionBox* selection_ = nullptr;
  QWidget* options_ = nullptr;
  QPushButton* replace_ = nullptr;
  QPushButton* close_ = nullptr;
  RowListView* status_view_ = nullptr;
  ResultsPanel* results_ = nullptr;
  ListStatus status_{nullptr};
};

}  // namespace pentrak
