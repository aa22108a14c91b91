#pragma once
// The keyboard's way through a window: the order in which the user reads the screen, left
// to right along each row and the rows from the top, whatever order the controls were
// declared in.
#include <QRect>
#include <QWidget>
#include <cstddef>
#include <vector>

namespace qtscreen {

// The places in reading order, as indices. A row is led by the highest place left; every
// place whose middle lies above the leader's bottom edge stands in its row.
std::vector<std::size_t> ReadingOrder(const std::vector<QRect>& places);

// Makes Tab go through the widgets that take the focus from it in reading order of their
// places in `window`.
void FocusInReadingOrder(QWidget& window, const std::vector<QWidget*>& widgets);

}  // namespace qtscreen
