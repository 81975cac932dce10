#pragma once

#include <QDialog>

#include "gui/tool_window_parts.h"
#include "shell/tool_windows.h"

class QLineEdit;
class QPushButton;

namespace pentrak {

// The Replace Special window "frmReplaceSpecial" (mnuReplaceSpecial): one chosen file has its
// line endings repaired, every lone carriage return becoming a carriage return and line feed.
class ReplaceSpecialForm : public QDialog {
 public:
  ReplaceSpecialForm(ToolWindowHost host, QWidget* parent);

  void Open();
  void UpdateButtons();

 private:
  ToolWindowHost host_;
  ReplaceSpecialWindow model_;
  QLineEdit* file_ = nullptr;
  QPushButton* replace_ = nullptr;
  RowListView* status_view_ = nullptr;
  ListStatus status_{nullptr};
};

}  // namespace pentrak
