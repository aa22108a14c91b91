#pragma once
// Opens the demo window on the Qt screen and lets a test take the runtime's events.
#include <gtest/gtest.h>

#include <QWidget>
#include <memory>
#include <utility>
#include <vector>

#include "demo_window.h"
#include "platform/qt/qt_screen.h"
#include "platform/qt/window_view.h"
#include "platform/rt/event_loop.h"

class ScreenTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Every event waiting for the window, in order, as (event, field); the focus arriving
  // (Selected), which most actions bring along, is left out.
  std::vector<std::pair<int, int>> Events();
  // The Qt widget of a control, by its equate.
  template <class W = QWidget>
  W* Widget(const char* equate) {
    W* widget = view_->findChild<W*>(QString::fromLatin1(equate));
    EXPECT_NE(widget, nullptr) << equate;
    return widget;
  }

  demo::DemoWindow demo_;
  qtscreen::QtScreen* screen_ = nullptr;
  rt::Window* window_ = nullptr;
  qtscreen::WindowView* view_ = nullptr;

 private:
  std::unique_ptr<rt::Screen> previous_;
};
