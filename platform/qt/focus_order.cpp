#include "platform/qt/focus_order.h"

#include <algorithm>
#include <numeric>

namespace qtscreen {

std::vector<std::size_t> ReadingOrder(const std::vector<QRect>& places) {
  std::vector<std::size_t> byTop(places.size());
  std::iota(byTop.begin(), byTop.end(), std::size_t{0});
  auto above = [&](std::size_t a, std::size_t b) {
    const QRect &pa = places[a], &pb = places[b];
    return pa.top() != pb.top() ? pa.top() < pb.top() : pa.left() < pb.left();
  };
  std::stable_sort(byTop.begin(), byTop.end(), above);

  std::vector<std::size_t> order;
  std::vector<bool> placed(places.size(), false);
  for (std::size_t leader : byTop) {
    if (placed[leader]) continue;
    std::vector<std::size_t> row;
    for (std::size_t i : byTop) {
      if (!placed[i] && places[i].center().y() <= places[leader].bottom()) row.push_back(i);
    }
    std::stable_sort(row.begin(), row.end(), [&](std::size_t a, std::size_t b) {
      return places[a].left() != places[b].left() ? places[a].left() < places[b].left() : above(a, b);
    });
    for (std::size_t i : row) {
      placed[i] = true;
      order.push_back(i);
    }
  }
  return order;
}

void FocusInReadingOrder(QWidget& window, const std::vector<QWidget*>& widgets) {
  std::vector<QWidget*> takers;
  std::vector<QRect> places;
  for (QWidget* widget : widgets) {
    if (!widget || !(widget->focusPolicy() & Qt::TabFocus)) continue;
    takers.push_back(widget);
    places.emplace_back(widget->mapTo(&window, QPoint(0, 0)), widget->size());
  }
  const std::vector<std::size_t> order = ReadingOrder(places);
  for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(takers[order[i - 1]], takers[order[i]]);
}

}  // namespace qtscreen
