#pragma once

#include <QTreeView>
#include <string>

#include "gui/row_list_model.h"

namespace pentrak {

// A status list's rows: one line of text each.
using StatusLines = RowListModel<std::string>;

// A model of status lines that shows each line as it is.
StatusLines* NewStatusLines(QObject* parent);

// A flat list view over a RowListModel, named name: rows of one height, no root decoration. A
// one-column list shows no header and scrolls sideways to its widest line, so a long path is
// never cut.
class RowListView : public QTreeView {
 public:
  RowListView(const char* name, QWidget* parent);

  // Shows the model; a list of one column fits its width to its lines.
  void SetRowModel(QAbstractItemModel* model);

  // Keeps the last row in view as each block of rows arrives; with select_last the last row also
  // becomes the current one once there are two or more.
  void FollowLastRow(bool select_last);

  // Draws the rows whose data in kIndentRole is true one step to the right, as a tree draws the
  // entries below another.
  void IndentMarkedRows();
  static constexpr int kIndentRole = Qt::UserRole + 10;

 private:
  void FitWidth(int first, int last);

  int least_width_ = 0;  // the header's own least section width
};

}  // namespace pentrak
