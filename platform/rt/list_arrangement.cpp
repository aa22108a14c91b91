#include "platform/rt/list_arrangement.h"

#include <algorithm>

namespace rt {

void ListArrangement::Reset(std::vector<ListColumn> columns) {
  source_ = std::move(columns);
  shown_ = source_;
  order_.resize(source_.size());
  for (std::size_t i = 0; i < order_.size(); ++i) order_[i] = static_cast<int>(i) + 1;
}

int ListArrangement::SourceAt(int position) const {
  if (position < 1 || position > static_cast<int>(order_.size())) return 0;
  return order_[static_cast<std::size_t>(position - 1)];
}

bool ListArrangement::Moved() const {
  for (std::size_t i = 0; i < order_.size(); ++i) {
    if (order_[i] != static_cast<int>(i) + 1) return true;
  }
  return false;
}

bool ListArrangement::Move(int from, int to) {
  const int count = static_cast<int>(order_.size());
  if (from < 1 || from > count || to < 1 || to > count) return false;
  if (!shown_[static_cast<std::size_t>(from - 1)].movable) return false;
  auto shift = [&](auto& items) {
    auto taken = items[static_cast<std::size_t>(from - 1)];
    items.erase(items.begin() + (from - 1));
    items.insert(items.begin() + (to - 1), std::move(taken));
  };
  shift(order_);
  shift(shown_);
  return true;
}

std::vector<std::string> ListArrangement::Arrange(std::vector<std::string> cells) const {
  if (!Moved()) return cells;
  // A row may hold fewer cells than the format has columns: the missing ones show blank.
  std::vector<std::string> arranged = cells;
  if (arranged.size() < order_.size()) arranged.resize(order_.size());
  for (std::size_t position = 0; position < order_.size(); ++position) {
    const auto source = static_cast<std::size_t>(order_[position] - 1);
    arranged[position] = source < cells.size() ? cells[source] : std::string();
  }
  return arranged;
}

int ListArrangement::ColumnStyle(int position) const {
  auto it = columnStyles_.find(SourceAt(position));
  return it == columnStyles_.end() ? 0 : it->second;
}

void ListArrangement::SetColumnStyle(int position, int style) {
  const int source = SourceAt(position);
  if (source == 0) return;
  if (style == 0) columnStyles_.erase(source);
  else columnStyles_[source] = style;
}

int ListArrangement::StyleOfCell(std::size_t row, int position) const {
  auto it = cellStyles_.find({row, SourceAt(position)});
  return it == cellStyles_.end() ? 0 : it->second;
}

void ListArrangement::SetStyleOfCell(std::size_t row, int position, int style) {
  const int source = SourceAt(position);
  if (source == 0 || row == 0) return;
  if (style == 0) cellStyles_.erase({row, source});
  else cellStyles_[{row, source}] = style;
}

std::vector<StyledCell> ListArrangement::CellStyles() const {
  std::vector<StyledCell> styles;
  for (const auto& [key, style] : cellStyles_) {
    const auto at = std::find(order_.begin(), order_.end(), key.second);
    if (at == order_.end()) continue;
    styles.push_back({key.first, static_cast<int>(at - order_.begin()) + 1, style});
  }
  std::sort(styles.begin(), styles.end(),
            [](const StyledCell& a, const StyledCell& b) { return std::tie(a.row, a.column) < std::tie(b.row, b.column); });
  return styles;
}

}  // namespace rt
