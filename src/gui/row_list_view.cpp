#include "gui/row_list_view.h"

#include <QHeaderView>
#include <QStyledItemDelegate>

#include "gui/qt_text.h"

namespace pentrak {

namespace {

class IndentingDelegate : public QStyledItemDelegate {
 public:
  IndentingDelegate(int indent, QObject* parent) : QStyledItemDelegate(parent), indent_(indent) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, Shifted(option, index), index);
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (Indented(index)) size.rwidth() += indent_;
    return size;
  }

 private:
  static bool Indented(const QModelIndex& index) {
    return index.data(RowListView::kIndentRole).toBool();
  }
  QStyleOptionViewItem Shifted(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem shifted(option);
    if (Indented(index)) shifted.rect.adjust(indent_, 0, 0, 0);
    return shifted;
  }

  int indent_;
};

}  // namespace

StatusLines* NewStatusLines(QObject* parent) {
  return new StatusLines(
      {QString()},
      [](const std::string& line, int, int role) {
        return role == Qt::DisplayRole ? QVariant(ToQt(line)) : QVariant();
      },
      parent);
}

RowListView::RowListView(const char* name, QWidget* parent) : QTreeView(parent) {
  setObjectName(QString::fromLatin1(name));
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
}

void RowListView::SetRowModel(QAbstractItemModel* model) {
  setModel(model);
  if (model->columnCount() != 1) return;
  setHeaderHidden(true);
  // The one column fills the view, or is as wide as the widest line when that is wider.
  least_width_ = header()->minimumSectionSize();
  connect(model, &QAbstractItemModel::rowsInserted, this,
          [this](const QModelIndex& parent, int first, int last) {
            if (!parent.isValid()) FitWidth(first, last);
          });
  connect(model, &QAbstractItemModel::modelReset, this,
          [this] { header()->setMinimumSectionSize(least_width_); });
}

void RowListView::FollowLastRow(bool select_last) {
  connect(model(), &QAbstractItemModel::rowsInserted, this,
          [this, select_last](const QModelIndex& parent, int, int last) {
            if (parent.isValid()) return;
            QModelIndex index = model()->index(last, 0);
            if (select_last && last >= 1) {
              setCurrentIndex(index);
            } else {
              scrollTo(index);
            }
          });
}

void RowListView::IndentMarkedRows() {
  setItemDelegate(new IndentingDelegate(indentation(), this));
}

// Only the longest line of a block is measured: one measure a block instead of one a line.
void RowListView::FitWidth(int first, int last) {
  int longest = first;
  qsizetype longest_size = -1;
  for (int row = first; row <= last; ++row) {
    qsizetype size = model()->index(row, 0).data().toString().size();
    if (size > longest_size) {
      longest_size = size;
      longest = row;
    }
  }
  int width = sizeHintForIndex(model()->index(longest, 0)).width();
  if (width > header()->minimumSectionSize()) header()->setMinimumSectionSize(width);
}

}  // namespace pentrak
