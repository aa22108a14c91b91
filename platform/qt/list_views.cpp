#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTreeView>
#include <algorithm>
#include <cstdlib>
#include <functional>

#include "platform/qt/control_views.h"
#include "platform/qt/list_model.h"
#include "platform/qt/window_view.h"
#include "platform/rt/props.h"
#include "platform/rt/user_action.h"

namespace qtscreen {
namespace {

// A right press on a list's rows goes to the runtime with the row and column under the
// mouse (0 for the space below the rows), before any menu the program opens for it.
class RightClickFilter final : public QObject {
 public:
  RightClickFilter(QTreeView* tree, std::function<void(int, int)> onCell) : QObject(tree), tree_(tree), onCell_(std::move(onCell)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::MouseButtonPress) return QObject::eventFilter(watched, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::RightButton) return QObject::eventFilter(watched, event);
    const QModelIndex index = tree_->indexAt(mouse->position().toPoint());
    onCell_(index.isValid() ? index.row() + 1 : 0, index.isValid() ? index.column() + 1 : 0);
    return true;
  }

 private:
  QTreeView* tree_;
  std::function<void(int, int)> onCell_;
};

// Pixels either side of a header's edge where the user can resize its column.
constexpr int kEdgeGrip = 3;

}  // namespace

ListView::ListView(WindowView& view, int field)
    : ControlView(view, field), tree_(new QTreeView(&view)), model_(new ListModel(view.Runtime(), field, tree_)) {
  SetWidget(tree_);
  tree_->setModel(model_);
  tree_->setItemDelegate(new IndentDelegate(*model_, view.Units(), tree_));
  tree_->setRootIsDecorated(false);
  tree_->setUniformRowHeights(true);
  tree_->setAllColumnsShowFocus(true);
  tree_->setSelectionMode(QAbstractItemView::SingleSelection);
  tree_->setSelectionBehavior(QAbstractItemView::SelectRows);
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tree_->header()->setStretchLastSection(false);
  tree_->header()->setSectionsMovable(false);
  tree_->viewport()->installEventFilter(new RightClickFilter(tree_, [this](int row, int column) {
    Acted(rt::user::RightClick(Runtime(), Field(), row, column));
    Sync();
  }));
  QObject::connect(tree_->selectionModel(), &QItemSelectionModel::currentRowChanged, tree_,
                   [this](const QModelIndex& current) {
                     if (syncing_ || !current.isValid()) return;
                     Acted(rt::user::Select(Runtime(), Field(), current.row() + 1, current.column() + 1));
                     Sync();
                   });
  QObject::connect(tree_, &QTreeView::doubleClicked, tree_, [this](const QModelIndex& index) {
    if (!index.isValid()) return;
    Acted(rt::user::DoubleClick(Runtime(), Field(), index.row() + 1, index.column() + 1));
    Sync();
  });
  QObject::connect(tree_->header(), &QHeaderView::sectionMoved, tree_,
                   [this](int, int fromVisual, int toVisual) { ColumnDragged(fromVisual, toVisual); });
  ApplyColumns();
}

ListView::~ListView() = default;

QWidget* ListView::MouseWidget() const { return tree_->viewport(); }

void ListView::ApplyColumns() {
  const auto& columns = model_->Columns();
  QHeaderView* header = tree_->header();
  header->setSectionsMovable(std::any_of(columns.begin(), columns.end(), [](const rt::ListColumn& c) { return c.movable; }));
  header->setFirstSectionMovable(true);  // a tree view's header keeps its first column in place otherwise
  // Showing a header that is shown already sizes it again from every section's text.
  const bool headed = std::any_of(columns.begin(), columns.end(), [](const rt::ListColumn& c) { return !c.header.empty(); });
  if (header->isHidden() == headed) header->setHidden(!headed);
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const int section = static_cast<int>(i);
    header->setSectionResizeMode(section, columns[i].resizable ? QHeaderView::Interactive : QHeaderView::Fixed);
    header->resizeSection(section, View().Units().ToPixelsX(columns[i].width));
  }
}

void ListView::ColumnDragged(int fromVisual, int toVisual) {
  if (syncing_) return;
  QHeaderView* header = tree_->header();
  syncing_ = true;
  header->moveSection(toVisual, fromVisual);
  syncing_ = false;
  Acted(rt::user::MoveColumn(Runtime(), Field(), fromVisual + 1, toVisual + 1));
  Sync();
}

void ListView::StylesChanged() {
  model_->StylesChanged();
  tree_->viewport()->update();
}

bool ListView::ListPartAt(QPoint inWindow, rt::Pointer& at) const {
  if (!tree_->isVisible() || !tree_->rect().contains(tree_->mapFrom(&View(), inWindow))) return false;
  at.list = Field();
  at.row = at.column = 0;
  at.zone = LISTZONE::Nowhere;
  const QHeaderView* header = tree_->header();
  if (const QPoint onHeader = header->mapFrom(&View(), inWindow); header->isVisible() && header->rect().contains(onHeader)) {
    const int logical = header->logicalIndexAt(onHeader);
    if (logical < 0) return true;
    at.column = header->visualIndex(logical) + 1;
    const int rightEdge = header->sectionViewportPosition(logical) + header->sectionSize(logical);
    const bool resizable = header->sectionResizeMode(logical) == QHeaderView::Interactive;
    at.zone = resizable && std::abs(onHeader.x() - rightEdge) <= kEdgeGrip ? LISTZONE::Right : LISTZONE::Header;
    return true;
  }
  const QPoint onRows = tree_->viewport()->mapFrom(&View(), inWindow);
  if (!tree_->viewport()->rect().contains(onRows)) return true;
  const QModelIndex index = tree_->indexAt(onRows);
  if (!index.isValid()) return true;
  at.row = index.row() + 1;
  at.column = index.column() + 1;
  at.zone = LISTZONE::Field;
  return true;
}

void ListView::ListChanged() {
  const bool sameColumns = model_->Columns().size() == Runtime().ListColumns(Field()).size();
  syncing_ = true;
  model_->Reload();
  syncing_ = false;
  // Widths the user dragged stay while the format stays.
  if (!sameColumns) ApplyColumns();
  Sync();
}

void ListView::Sync() {
  if (model_->Columns().size() != Runtime().ListColumns(Field()).size() ||
      !std::equal(model_->Columns().begin(), model_->Columns().end(), Runtime().ListColumns(Field()).begin(),
                  [](const rt::ListColumn& a, const rt::ListColumn& b) { return a.text == b.text; })) {
    syncing_ = true;
    model_->Reload();
    syncing_ = false;
    ApplyColumns();
  }
  const int choice = Runtime().Choice(Field());
  syncing_ = true;
  if (choice >= 1 && choice <= model_->rowCount()) {
    const QModelIndex index = model_->index(choice - 1, 0);
    tree_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    tree_->scrollTo(index);
  } else {
    tree_->selectionModel()->clear();
  }
  syncing_ = false;
}

DropListView::DropListView(WindowView& view, int field) : ControlView(view, field), combo_(new QComboBox(&view)) {
  SetWidget(combo_);
  QObject::connect(combo_, &QComboBox::activated, combo_, [this](int index) {
    Acted(rt::user::Select(Runtime(), Field(), index + 1));
    Sync();
  });
}

void DropListView::ListChanged() {
  syncing_ = true;
  combo_->clear();
  const std::size_t records = Runtime().ListRecords(Field());
  for (std::size_t row = 1; row <= records; ++row) {
    const std::vector<std::string> cells = Runtime().ListRow(Field(), row);
    QString shown;
    for (const std::string& cell : cells) shown += (shown.isEmpty() ? QString() : QStringLiteral("  ")) + FromUtf8(cell);
    combo_->addItem(shown);
  }
  syncing_ = false;
  Sync();
}

void DropListView::Sync() {
  syncing_ = true;
  const int choice = Runtime().Choice(Field());
  combo_->setCurrentIndex(choice >= 1 && choice <= combo_->count() ? choice - 1 : -1);
  syncing_ = false;
}

}  // namespace qtscreen
