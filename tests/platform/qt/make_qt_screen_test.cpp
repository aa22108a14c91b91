// The screen the program makes for itself, with no QApplication running yet: it starts Qt,
// reads the desktop's fonts on a thread beside it, and gives the raster engine one worker.
#include "platform/qt/make_qt_screen.h"

#include <QApplication>
#include <QFontDatabase>
#include <QThreadPool>
#include <gtest/gtest.h>

#include "demo_window.h"
#include "platform/qt/qt_screen.h"
#include "platform/qt/window_view.h"
#include "platform/rt/command.h"
#include "platform/rt/event_loop.h"

TEST(MakeQtScreen, StartsQtAndOpensAWindowWithItsText) {
  rt::SetCommandLine({"boxwright"});
  auto made = qtscreen::MakeQtScreen();
  ASSERT_NE(QApplication::instance(), nullptr);
  EXPECT_FALSE(QApplication::quitOnLastWindowClosed());
  EXPECT_EQ(QThreadPool::globalInstance()->maxThreadCount(), 1);

  auto* screen = static_cast<qtscreen::QtScreen*>(made.get());
  auto previous = rt::UseScreen(std::move(made));
  demo::DemoWindow demo;
  rt::Window* window = rt::OpenWindow(demo.def);
  ASSERT_NE(window, nullptr);
  qtscreen::WindowView* view = screen->ViewOf(*window);
  ASSERT_NE(view, nullptr);
  EXPECT_FALSE(QFontDatabase::families().isEmpty());
  EXPECT_FALSE(view->grab().isNull());
  rt::CloseWindow(*window);
  rt::UseScreen(std::move(previous));
}
