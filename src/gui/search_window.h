#pragma once

#include <QDialog>

#include "gui/tool_window_parts.h"
#include "shell/tool_windows.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pentrak {

// The Find window "frmSearch", in project mode (mnuSearch) or documents mode
// (mnuSearchDocuments): the find text and options, the Search button that reads "Stop" while a
// search runs, its own status list, and the results. It stays open between searches.
class SearchForm : public QDialog {
 public:
  SearchForm(ToolWindowHost host, QWidget* parent);

  // Shows the window in the mode asked for; a running search keeps its mode.
  void Open(bool documents_mode);
  bool Running() const { return model_.run.running(); }
  void UpdateButtons();

  // Escape and the window's close box: refused while a search runs.
  void reject() override;

 private:
  void ShowPattern();

  ToolWindowHost host_;
  SearchWindow model_;
  bool details_shown_ = true;  // the view's own switch: a search always collects the lines
  QLineEdit* find_ = nullptr;
  SelectionBox* selection_ = nullptr;
  QWidget* options_ = nullptr;
  QCheckBox* definitions_only_ = nullptr;
  QLabel* pattern_ = nullptr;
  QPushButton* search_ = nullptr;
  QPushButton* close_ = nullptr;
  RowListView* status_view_ = nullptr;
  ResultsPanel* results_ = nullptr;
  ListStatus status_{nullptr};
};

}  // namespace pentrak
