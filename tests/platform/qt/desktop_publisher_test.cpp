#include "platform/qt/desktop_publisher.h"

#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

#include "platform/win/windows/desktop_metrics.h"
#include "platform/win/windows/window.h"

namespace qtscreen {
namespace {

TEST(DesktopPublisher, PublishesTheScreensWhileItLives) {
  const QScreen* primary = QGuiApplication::primaryScreen();
  ASSERT_NE(primary, nullptr);
  {
    DesktopPublisher publisher;
    const QRect all = primary->virtualGeometry();
    EXPECT_EQ(GetSystemMetrics(SM_XVIRTUALSCREEN), all.x());
    EXPECT_EQ(GetSystemMetrics(SM_YVIRTUALSCREEN), all.y());
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), all.width());
    EXPECT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), all.height());
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    const QRect available = primary->availableGeometry();
    EXPECT_EQ(work.left, available.left());
    EXPECT_EQ(work.top, available.top());
    EXPECT_EQ(work.right, available.left() + available.width());
    EXPECT_EQ(work.bottom, available.top() + available.height());
  }
  EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 0);  // no screen, no desktop
}

TEST(DesktopPublisher, WindowRectanglesAreExclusiveAtTheFarEdges) {
  HWND frame = CreateWindowHandle(nullptr);
  PublishWindowRect(frame, QRect(10, 20, 300, 200));
  RECT r{};
  ASSERT_TRUE(GetWindowRect(frame, &r));
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.right, 310);
  EXPECT_EQ(r.bottom, 220);
  DestroyWindow(frame);
}

}  // namespace
}  // namespace qtscreen
