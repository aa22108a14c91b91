#include <gtest/gtest.h>

#include "platform/qt/focus_order.h"

namespace {

TEST(ReadingOrder, RowsFromTheTopEachFromTheLeft) {
  struct Case {
    const char* layout;
    std::vector<QRect> places;
    std::vector<std::size_t> order;
  } cases[] = {
      {"a row whose controls stand a little higher or lower than each other",
       {QRect(296, 12, 44, 14), QRect(40, 13, 112, 12), QRect(192, 13, 100, 12)}, {1, 2, 0}},
      {"a check box beside two buttons of another height, declared out of order",
       {QRect(6, 222, 76, 12), QRect(288, 219, 56, 16), QRect(88, 219, 56, 16)}, {0, 2, 1}},
      {"two rows, the lower one declared first", {QRect(10, 50, 20, 10), QRect(10, 10, 20, 10), QRect(40, 10, 20, 10)},
       {1, 2, 0}},
      {"a tall list beside buttons stacked on its right",
       {QRect(100, 10, 40, 12), QRect(100, 30, 40, 12), QRect(10, 10, 80, 100)}, {2, 0, 1}},
      {"a control that only begins beside the row's leader is in the next row",
       {QRect(10, 10, 40, 20), QRect(60, 25, 40, 20)}, {0, 1}},
      {"places shared exactly keep their declared order", {QRect(10, 10, 20, 10), QRect(10, 10, 20, 10)}, {0, 1}},
      {"nothing", {}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(qtscreen::ReadingOrder(c.places), c.order) << c.layout;
}

}  // namespace
