#include <gtest/gtest.h>

#include "platform/rt/display.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/props.h"
#include "platform/win/windows/desktop_metrics.h"
#include "toolkit/desktop_placement.h"
#include "toolkit/error_state.h"

namespace {

struct Box {
  LONG x, y, width, height;
  bool operator==(const Box&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Box& b) {
  return out << b.x << "," << b.y << " " << b.width << "x" << b.height;
}

Box Place(Box b, BYTE mode) {
  EXPECT_EQ(kx_VisibleOnDesktop(b.x, b.y, b.width, b.height, mode), 0);
  return b;
}

constexpr RECT kScreen{0, 0, 1920, 1080};
constexpr RECT kBottomBar{0, 0, 1920, 1040};  // a 40-pixel taskbar at the bottom

TEST(Placement, RectanglesMoveInsideTheDesktop) {
  struct Case {
    const char* what;
    RECT screen, work;
    BYTE mode;
    Box in, out;
  } cases[] = {
      {"already inside", kScreen, kBottomBar, 0, {100, 100, 400, 300}, {100, 100, 400, 300}},
      {"left of the desktop", kScreen, kScreen, 0, {-100, 10, 200, 100}, {0, 10, 200, 100}},
      {"above the desktop", kScreen, kScreen, 0, {50, -300, 200, 100}, {50, 0, 200, 100}},
      {"on a monitor that is gone", kScreen, kScreen, 0, {5000, 100, 400, 300}, {1520, 100, 400, 300}},
      {"under the taskbar, mode 1", kScreen, kBottomBar, 1, {100, 900, 400, 160}, {100, 880, 400, 160}},
      {"under the taskbar, whole desktop", kScreen, kBottomBar, 0, {100, 900, 400, 160}, {100, 900, 400, 160}},
      {"a top taskbar", kScreen, {0, 30, 1920, 1080}, 1, {100, 0, 400, 300}, {100, 30, 400, 300}},
      {"a left taskbar", kScreen, {60, 0, 1920, 1080}, 1, {0, 100, 400, 300}, {60, 100, 400, 300}},
      {"a right taskbar", kScreen, {0, 0, 1860, 1080}, 1, {1700, 100, 200, 300}, {1660, 100, 200, 300}},
      {"a bar half the work area is kept", kScreen, {0, 0, 1920, 540}, 1, {100, 900, 400, 160},
       {100, 900, 400, 160}},
      {"a window beside the work area keeps the bar", {0, 0, 3840, 1080}, {0, 0, 1920, 1040}, 1,
       {2000, 900, 400, 160}, {2000, 900, 400, 160}},
      {"wider than the desktop gets its width", kScreen, kScreen, 0, {300, 0, 2500, 100}, {0, 0, 1920, 100}},
      {"taller than the desktop gets its height", kScreen, kBottomBar, 1, {0, 500, 100, 2000}, {0, 0, 100, 1040}},
      {"a desktop left of the primary monitor", {-1280, 0, 1920, 1080}, kScreen, 0, {1800, 0, 300, 200},
       {1620, 0, 300, 200}},
      {"too wide on a desktop with negative x", {-1280, 0, 1920, 1080}, kScreen, 0, {-1000, 0, 4000, 200},
       {-1280, 0, 3200, 200}},
      {"an empty virtual screen uses the work area", {}, {0, 0, 800, 600}, 0, {700, 500, 200, 200},
       {600, 400, 200, 200}},
  };
  for (const auto& c : cases) {
    win::SetDesktopMetrics({c.screen, c.work});
    EXPECT_EQ(Place(c.in, c.mode), c.out) << c.what;
  }
  win::ClearDesktopMetrics();
}

TEST(Placement, NoDesktopMovesNothingAndSaysSo) {
  win::ClearDesktopMetrics();
  Box b{-50, -50, 10, 10};
  EXPECT_EQ(kx_VisibleOnDesktop(b.x, b.y, b.width, b.height, 0), 1);
  EXPECT_EQ(b, (Box{-50, -50, 10, 10}));
  EXPECT_EQ(kx_ThreadErrorState().HOOKWATCHERRORCODE, KX_ERR_VISIBLEONDESKTOP);
}

const rt::WindowDef kPlacedWindow{.label = "PLACED", .caption = "Placed"};

TEST(Placement, TheCurrentWindowKeepsItsFrameOffsets) {
  rt::Window* w = rt::OpenWindow(kPlacedWindow);
  ASSERT_NE(w, nullptr);
  rt::SetProp(0, PROP::Pixels, 1LL);
  rt::SetProp(0, PROP::Xpos, 5000LL);
  rt::SetProp(0, PROP::Ypos, 100LL);
  rt::SetProp(0, PROP::Width, 384LL);
  rt::SetProp(0, PROP::Height, 270LL);
  rt::SetProp(0, PROP::Pixels, "");
  // The frame reaches 8 pixels left of the position and 30 above it (the caption).
  win::SetWindowScreenRect(w->Frame(), RECT{4992, 70, 4992 + 400, 70 + 300});
  win::SetDesktopMetrics({RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1040}});

  EXPECT_EQ(kx_VisibleOnDesktop(KX_DESKTOP_WITHOUT_TASKBARS), 0);
  EXPECT_EQ(rt::GetProp(0, PROP::Pixels), "");
  rt::SetProp(0, PROP::Pixels, 1LL);
  EXPECT_EQ(rt::GetPropNumber(0, PROP::Xpos), 1920 - 400 + 8);
  EXPECT_EQ(rt::GetPropNumber(0, PROP::Ypos), 100);
  EXPECT_EQ(rt::GetPropNumber(0, PROP::Width), 384);
  EXPECT_EQ(rt::GetPropNumber(0, PROP::Height), 270);
  win::ClearDesktopMetrics();
  rt::CloseWindow(*w);
}

}  // namespace
