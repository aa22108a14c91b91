#pragma once
// The rows of a runtime list for Qt's item views: each cell as the column's picture shows
// it, aligned and indented as the column format says, in the font style and colour of its
// style (the cell's own, else its column's) from the list's style table. The rows are read again whenever the
// runtime says they changed; between changes the view reads a copy.
#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <vector>

#include "platform/qt/dialog_units.h"
#include "platform/rt/window.h"

namespace qtscreen {

class ListModel final : public QAbstractTableModel {
 public:
  ListModel(rt::Window& window, int field, QObject* parent);

  void Reload();
  // The styles of the cells changed: every cell is drawn again.
  void StylesChanged();
  const std::vector<rt::ListColumn>& Columns() const { return columns_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  rt::Window& window_;
  int field_;
  std::vector<rt::ListColumn> columns_;
  std::vector<std::vector<QString>> rows_;
  int cellsPerRow_ = 0;  // for a list without a format: the widest row

  int StyleOf(const QModelIndex& index) const;
};

// Moves each cell's text in from its aligned edge by the column's indent, and draws the
// column's right border when its format asks for one.
class IndentDelegate final : public QStyledItemDelegate {
 public:
  IndentDelegate(const ListModel& model, const DialogUnits& units, QObject* parent);
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  const ListModel& model_;
  const DialogUnits& units_;
};

}  // namespace qtscreen
