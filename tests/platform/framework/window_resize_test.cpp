#include <gtest/gtest.h>

#include <array>

#include "platform/framework/window_manager.h"
#include "platform/framework/window_resize.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/events.h"
#include "platform/rt/post.h"
#include "platform/rt/props.h"

namespace {

using Place = std::array<long long, 4>;  // x, y, width, height

// The main window's layout in miniature: one control per kind of anchoring, and a list
// inside a tab inside a sheet.
enum Field { kGroup = 1, kPrompt, kConnect, kSheet, kTab, kList, kSafety, kClose };

const rt::WindowDef kMain{
    .label = "P1$WINDOW",
    .at = {0, 0, 348, 239},
    .resizable = true,
    .controls =
        {
            {.feq = kGroup, .kind = rt::Kind::Group, .at = {4, 4, 340, 40}},
            {.feq = kPrompt, .kind = rt::Kind::Prompt, .at = {10, 14, 30, 10}},
            {.feq = kConnect, .kind = rt::Kind::Button, .at = {300, 14, 40, 14}},
            {.feq = kSheet, .kind = rt::Kind::Sheet, .at = {4, 50, 340, 160}},
            {.feq = kTab, .kind = rt::Kind::Tab, .at = {4, 50, 340, 160}, .parent = kSheet},
            {.feq = kList, .kind = rt::Kind::List, .at = {8, 64, 332, 140}, .parent = kTab},
            {.feq = kSafety, .kind = rt::Kind::Check, .at = {4, 220, 80, 10}},
            {.feq = kClose, .kind = rt::Kind::Button, .at = {300, 216, 40, 14}},
        },
};

Place PlaceOf(const rt::Window& w, int field) {
  return {w.PropNumber(field, PROP::Xpos), w.PropNumber(field, PROP::Ypos), w.PropNumber(field, PROP::Width),
          w.PropNumber(field, PROP::Height)};
}

class ResizedMain : public WindowManager {
 public:
  int Init() override {
    int level = WindowManager::Init();
    Open(kMain);
    resizer.Init(*Window());
    resizer.SetStrategy(kGroup, Resize::FixLeft | Resize::FixTop, Resize::ConstantRight | Resize::LockHeight);
    resizer.SetStrategy(kPrompt, Resize::FixLeft | Resize::FixTop, Resize::LockWidth | Resize::LockHeight);
    resizer.SetStrategy(kConnect, Resize::FixRight | Resize::FixTop, Resize::LockWidth | Resize::LockHeight);
    resizer.SetStrategy(kSheet, Resize::FixLeft | Resize::FixTop, Resize::ConstantRight | Resize::ConstantBottom);
    resizer.SetStrategy(kSafety, Resize::FixLeft | Resize::FixBottom, Resize::LockWidth | Resize::LockHeight);
    resizer.SetStrategy(kClose, Resize::FixRight | Resize::FixBottom, Resize::LockWidth | Resize::LockHeight);
    AddItem(resizer);
    return level;
  }
  WindowResizeClass resizer;
};

class Resizing : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::AnnounceControlKinds({rt::Kind::Group, rt::Kind::Prompt, rt::Kind::Button, rt::Kind::Sheet, rt::Kind::Tab,
                              rt::Kind::List, rt::Kind::Check});
  }
  void TearDown() override { EXPECT_EQ(rt::TopWindow(), nullptr); }

  // Sets the window's size as a user's drag would, and lets the window handle Sized.
  static void SizeTo(ResizedMain& w, long long width, long long height) {
    w.Window()->SetProp(0, PROP::Width, width);
    w.Window()->SetProp(0, PROP::Height, height);
    POST(EVENT::Sized);
    while (rt::PollEvent(*w.Window())) w.TakeEvent();
  }
};

TEST_F(Resizing, ControlsFollowTheirAnchors) {
  ResizedMain w;
  w.Init();
  struct Case {
    long long width, height;
    std::array<Place, kClose> places;  // of every field, in field order
  } cases[] = {
      {448, 289, {{{4, 4, 440, 40}, {10, 14, 30, 10}, {400, 14, 40, 14}, {4, 50, 440, 210}, {4, 50, 440, 210},
                   {8, 64, 432, 190}, {4, 270, 80, 10}, {400, 266, 40, 14}}}},
      {348, 239, {{{4, 4, 340, 40}, {10, 14, 30, 10}, {300, 14, 40, 14}, {4, 50, 340, 160}, {4, 50, 340, 160},
                   {8, 64, 332, 140}, {4, 220, 80, 10}, {300, 216, 40, 14}}}},
      // No minimum size: the window may shrink past its design, growing controls stop at 0.
      {8, 39, {{{4, 4, 0, 40}, {10, 14, 30, 10}, {-40, 14, 40, 14}, {4, 50, 0, 0}, {4, 50, 0, 0}, {8, 64, 0, 0},
                {4, 20, 80, 10}, {-40, 16, 40, 14}}}},
  };
  for (const Case& c : cases) {
    SizeTo(w, c.width, c.height);
    for (int field = kGroup; field <= kClose; ++field) {
      EXPECT_EQ(PlaceOf(*w.Window(), field), c.places[field - 1]) << c.width << "x" << c.height << " field " << field;
    }
  }
  w.Kill();
  SizeTo(w, 600, 600);
  EXPECT_EQ(PlaceOf(*w.Window(), kClose), (Place{-40, 16, 40, 14})) << "let go by Kill";
}

TEST_F(Resizing, RestoredSizeIsMeasuredFromTheDesign) {
  ResizedMain w;
  w.Init();
  // The settings restore a larger size after the resizer took the design; Resize places
  // everything for it at once.
  w.Window()->SetProp(0, PROP::Width, 398);
  w.resizer.Resize();
  EXPECT_EQ(PlaceOf(*w.Window(), kConnect), (Place{350, 14, 40, 14}));
  EXPECT_EQ(PlaceOf(*w.Window(), kList), (Place{8, 64, 382, 140}));
}

}  // namespace
