#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <iterator>
#include <utility>
#include <vector>

namespace pentrak {

// A flat list of plain rows for a view, fit for hundreds of thousands of them. The rows a run
// adds wait in a block that the views take in one insertion the next time the event loop turns
// (a run lets it turn a few dozen times a second), so a run never pays for a layout, a scroll
// or a repaint per row.
template <typename Row>
class RowListModel : public QAbstractTableModel {
 public:
  // What a cell of a row shows in a role; an empty QVariant for nothing.
  using Show = std::function<QVariant(const Row& row, int column, int role)>;

  RowListModel(QStringList headers, Show show, QObject* parent)
      : QAbstractTableModel(parent), headers_(std::move(headers)), show_(std::move(show)) {
    deliver_.setSingleShot(true);
    deliver_.setInterval(0);
    QObject::connect(&deliver_, &QTimer::timeout, this, [this] { Deliver(); });
  }

  // Adds a row at the end; the views see it with the rest of its block.
  void Append(Row row) {
    pending_.push_back(std::move(row));
    if (pending_.size() == 1) deliver_.start();
  }

  // Hands the waiting rows to the views now.
  void Deliver() {
    deliver_.stop();
    if (pending_.empty()) return;
    const int first = static_cast<int>(rows_.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(pending_.size()) - 1);
    rows_.insert(rows_.end(), std::make_move_iterator(pending_.begin()),
                 std::make_move_iterator(pending_.end()));
    pending_.clear();
    endInsertRows();
  }

  // Replaces every row, waiting ones included, at once.
  void Reset(std::vector<Row> rows) {
    deliver_.stop();
    beginResetModel();
    rows_ = std::move(rows);
    pending_.clear();
    endResetModel();
  }
  void Clear() { Reset({}); }

  // The rows the views have.
  const std::vector<Row>& rows() const { return rows_; }
  const Row* RowAt(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this || index.row() < 0 ||
        index.row() >= static_cast<int>(rows_.size())) {
      return nullptr;
    }
    return &rows_[static_cast<std::size_t>(index.row())];
  }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
  }
  int columnCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : static_cast<int>(headers_.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    const Row* row = RowAt(index);
    return row == nullptr ? QVariant() : show_(*row, index.column(), role);
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= headers_.size()) {
      return QVariant();
    }
    return headers_[section];
  }
  Qt::ItemFlags flags(const QModelIndex& index) const override {
    if (RowAt(index) == nullptr) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
  }

 private:
  QStringList headers_;
  Show show_;
  std::vector<Row> rows_;
  std::vector<Row> pending_;
  QTimer deliver_;
};

}  // namespace pentrak
