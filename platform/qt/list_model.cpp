#include "platform/qt/list_model.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

#include "platform/qt/control_view.h"
#include "platform/qt/looks.h"
#include "platform/rt/props.h"

namespace qtscreen {

namespace {
Qt::Alignment AlignmentOf(char align) {
  switch (align) {
    case 'R':
    case 'D': return Qt::AlignRight | Qt::AlignVCenter;
    case 'C': return Qt::AlignHCenter | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
  }
}
}  // namespace

ListModel::ListModel(rt::Window& window, int field, QObject* parent)
    : QAbstractTableModel(parent), window_(window), field_(field) {
  Reload();
}

void ListModel::Reload() {
  beginResetModel();
  columns_ = window_.ListColumns(field_);
  rows_.clear();
  cellsPerRow_ = 0;
  const std::size_t records = window_.ListRecords(field_);
  rows_.reserve(records);
  for (std::size_t row = 1; row <= records; ++row) {
    std::vector<QString> cells;
    for (const std::string& cell : window_.ListRow(field_, row)) cells.push_back(FromUtf8(cell));
    cellsPerRow_ = std::max(cellsPerRow_, static_cast<int>(cells.size()));
    rows_.push_back(std::move(cells));
  }
  endResetModel();
}

void ListModel::StylesChanged() {
  if (rowCount() > 0 && columnCount() > 0) {
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::FontRole, Qt::ForegroundRole});
  }
}

int ListModel::StyleOf(const QModelIndex& index) const {
  const int column = index.column() + 1;
  const int style = window_.CellStyle(field_, static_cast<std::size_t>(index.row() + 1), column);
  return style != 0 ? style : static_cast<int>(window_.PropNumber(field_, PROP::ColumnStyle, column));
}

int ListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ListModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return columns_.empty() ? std::max(cellsPerRow_, 1) : static_cast<int>(columns_.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const auto column = static_cast<std::size_t>(index.column());
  if (role == Qt::DisplayRole) {
    const std::vector<QString>& cells = rows_[static_cast<std::size_t>(index.row())];
    return column < cells.size() ? cells[column] : QString();
  }
  if (role == Qt::TextAlignmentRole && column < columns_.size()) return int(AlignmentOf(columns_[column].align));
  if (role == Qt::FontRole || role == Qt::ForegroundRole) {
    const int style = StyleOf(index);
    if (style == 0) return {};
    if (role == Qt::ForegroundRole) {
      const auto colour = ColourOf(FromUtf8(window_.Prop(field_, PROP::StyleFontColor, style)));
      return colour ? QVariant(QBrush(*colour)) : QVariant();
    }
    const long long fontStyle = window_.PropNumber(field_, PROP::StyleFontStyle, style);
    if (fontStyle <= 0) return {};
    QFont font;  // only the style's own attributes are set: the view resolves the rest
    ApplyFontStyle(font, fontStyle);
    return font;
  }
  return {};
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  const auto column = static_cast<std::size_t>(section);
  if (orientation != Qt::Horizontal || column >= columns_.size()) return {};
  if (role == Qt::DisplayRole) return FromUtf8(columns_[column].header);
  if (role == Qt::TextAlignmentRole) return int(AlignmentOf(columns_[column].headerAlign));
  return {};
}

IndentDelegate::IndentDelegate(const ListModel& model, const DialogUnits& units, QObject* parent)
    : QStyledItemDelegate(parent), model_(model), units_(units) {}

void IndentDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const auto column = static_cast<std::size_t>(index.column());
  if (column >= model_.Columns().size()) return QStyledItemDelegate::paint(painter, option, index);
  const rt::ListColumn& format = model_.Columns()[column];
  const int indent = units_.ToPixelsX(format.indent);
  QStyleOptionViewItem item(option);
  initStyleOption(&item, index);
  QStyle* style = item.widget ? item.widget->style() : QApplication::style();
  // The background and the selection cover the whole cell; only the text moves in.
  QStyleOptionViewItem panel(item);
  panel.text.clear();
  style->drawControl(QStyle::CE_ItemViewItem, &panel, painter, item.widget);
  if (format.align == 'R' || format.align == 'D') item.rect.adjust(0, 0, -indent, 0);
  else if (format.align == 'L') item.rect.adjust(indent, 0, 0, 0);
  item.state &= ~QStyle::State_HasFocus;
  style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);
  // "|": a line down the column's right edge.
  if (format.rightBorder) {
    painter->save();
    painter->setPen(option.palette.color(QPalette::Mid));
    painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
    painter->restore();
  }
}

}  // namespace qtscreen
