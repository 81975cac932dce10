#pragma once

#include <QDialog>

#include "gui/tool_window_parts.h"

class QCheckBox;
class QLabel;
class QListView;
class QPushButton;

namespace pentrak {

class FindingsModel;

// The Check Links window "frmCheckLinks" (mnuCheckLinks): the Check button, whether external
// links are asked about too, the summary, and the findings, one per row. A double-click opens
// the editor at the line that wrote the link; the pop-up menu also opens the generated page.
class CheckLinksForm : public QDialog {
 public:
  CheckLinksForm(ToolWindowHost host, QWidget* parent);

  void Open();
  // The Check button waits while a generation or a search runs: the pages are being written.
  void UpdateButtons();

 private:
  void RunCheck();
  void Edit(int row, bool source);

  ToolWindowHost host_;
  FindingsModel* model_ = nullptr;
  QListView* findings_ = nullptr;
  QLabel* summary_ = nullptr;
  QCheckBox* external_ = nullptr;
  QPushButton* check_ = nullptr;
};

}  // namespace pentrak
