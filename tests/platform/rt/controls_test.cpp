#include <gtest/gtest.h>

#include "platform/rt/display.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/props.h"
#include "platform/rt/queue.h"
#include "platform/rt/system.h"
#include "platform/rt/user_action.h"

namespace {

struct DeviceRow {
  std::string DeviceName;
};

rt::Queue<DeviceRow> DEVICES;
BYTE CAB_Side = 1;
LONG GLO_Offset = 0;
std::string GLO_Name = "before";
BYTE GLO_Safety = 0;

namespace ctl {
enum : int { DEVICELIST = 1, SIDE, LEFT, RIGHT, OFFSET, NAME, SAFETY, GROUP, INGROUP, DISABLEDBUTTON };
}

const rt::WindowDef kWindow{
    .caption = "Controls",
    .controls = {
        {.feq = ctl::DEVICELIST, .equate = "DEVICELIST", .kind = rt::Kind::List,
         .from = rt::From(DEVICES, [](const DeviceRow& r) { return rt::Columns(r.DeviceName); }), .drop = true},
        {.feq = ctl::SIDE, .equate = "CAB:SIDE", .kind = rt::Kind::Option, .use = CAB_Side},
        {.feq = ctl::LEFT, .equate = "LEFT", .kind = rt::Kind::Radio, .parent = ctl::SIDE, .value = "0"},
        {.feq = ctl::RIGHT, .equate = "RIGHT", .kind = rt::Kind::Radio, .parent = ctl::SIDE, .value = "1"},
        {.feq = ctl::OFFSET, .equate = "GLO:USERCABOFFSET", .kind = rt::Kind::Spin, .use = GLO_Offset, .chars = 3},
        {.feq = ctl::NAME, .equate = "GLO:CABNAME", .kind = rt::Kind::Entry, .use = GLO_Name, .chars = 31},
        {.feq = ctl::SAFETY, .equate = "GLO:SAFETYMODE", .kind = rt::Kind::Check, .use = GLO_Safety},
        {.feq = ctl::GROUP, .equate = "GROUP", .kind = rt::Kind::Group},
        {.feq = ctl::INGROUP, .equate = "INGROUP", .kind = rt::Kind::Button, .parent = ctl::GROUP},
        {.feq = ctl::DISABLEDBUTTON, .equate = "DISABLEDBUTTON", .kind = rt::Kind::Button, .disabled = true},
    }};

class Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::AnnounceControlKinds({rt::Kind::List, rt::Kind::Option, rt::Kind::Radio, rt::Kind::Spin, rt::Kind::Entry,
                              rt::Kind::Check, rt::Kind::Group, rt::Kind::Button});
    DEVICES.Free();
    for (const char* name : {"In A", "In B", "In C"}) {
      DEVICES->DeviceName = name;
      DEVICES.Add();
    }
    w_ = rt::OpenWindow(kWindow);
    ASSERT_NE(w_, nullptr);
    while (rt::PollEvent(*w_)) {
    }
  }
  void TearDown() override { rt::CloseWindow(*w_); }

  std::vector<int> Events() {
    std::vector<int> seen;
    while (rt::PollEvent(*w_)) {
      seen.push_back(EVENT() * 100 + FIELD());
    }
    return seen;
  }

  rt::Window* w_ = nullptr;
};

TEST_F(Controls, OpeningShowsTheVariables) {
  EXPECT_EQ(w_->ScreenValue(ctl::NAME), "before");
  EXPECT_EQ(w_->ScreenValue(ctl::SIDE), "1");
  EXPECT_EQ(w_->Choice(ctl::SIDE), 2);
  EXPECT_EQ(w_->ScreenValue(ctl::SAFETY), "0");
}

TEST_F(Controls, DisplayAndUpdateCopyBetweenVariablesAndScreen) {
  GLO_Name = "after";
  CAB_Side = 0;
  EXPECT_EQ(w_->ScreenValue(ctl::NAME), "before");  // nothing shows until DISPLAY
  DISPLAY();
  EXPECT_EQ(w_->ScreenValue(ctl::NAME), "after");
  EXPECT_EQ(CHOICE(ctl::SIDE), 1);
  w_->SetScreenValue(ctl::OFFSET, "12345");  // the spin box takes three characters
  EXPECT_EQ(w_->ScreenValue(ctl::OFFSET), "123");
  EXPECT_EQ(GLO_Offset, 0);
  UPDATE(ctl::OFFSET);
  EXPECT_EQ(GLO_Offset, 123);
}

TEST_F(Controls, SelectChoosesWithoutSelectionEvents) {
  SELECT(ctl::DEVICELIST, 2);
  EXPECT_EQ(CHOICE(ctl::DEVICELIST), 2);
  EXPECT_EQ(FOCUS(), ctl::DEVICELIST);
  EXPECT_EQ(w_->ScreenValue(ctl::DEVICELIST), "In B");
  SELECT(ctl::DEVICELIST, 9);  // no such row: nothing highlighted
  EXPECT_EQ(CHOICE(ctl::DEVICELIST), 0);
  // Only the focus arriving is told, once; the rows chosen are not.
  EXPECT_EQ(Events(), (std::vector<int>{EVENT::Selected * 100 + ctl::DEVICELIST}));
  // Rows removed under a highlight: the highlight goes with them.
  SELECT(ctl::DEVICELIST, 3);
  DEVICES.Free();
  rt::PumpMessages();
  EXPECT_EQ(CHOICE(ctl::DEVICELIST), 0);
  EXPECT_EQ(w_->PropNumber(ctl::DEVICELIST, PROP::Items), 0);
}

TEST_F(Controls, UserActionsFireTheEventsOfTheControl) {
  ASSERT_EQ(rt::user::Select(*w_, ctl::DEVICELIST, 3), "");
  ASSERT_EQ(rt::user::Press(*w_, ctl::LEFT), "");
  ASSERT_EQ(rt::user::Type(*w_, ctl::OFFSET, "7"), "");
  ASSERT_EQ(rt::user::Press(*w_, ctl::SAFETY), "");
  EXPECT_EQ(Events(), (std::vector<int>{EVENT::NewSelection * 100 + ctl::DEVICELIST, EVENT::Accepted * 100 + ctl::DEVICELIST,
                                        EVENT::Accepted * 100 + ctl::SIDE, EVENT::Accepted * 100 + ctl::OFFSET,
                                        EVENT::Accepted * 100 + ctl::SAFETY}));
  EXPECT_EQ(CAB_Side, 0);
  EXPECT_EQ(GLO_Offset, 7);
  EXPECT_EQ(GLO_Safety, 1);
  ASSERT_EQ(rt::user::Press(*w_, ctl::SAFETY), "");
  EXPECT_EQ(GLO_Safety, 0);
}

TEST_F(Controls, UserActionsAreRefusedWhereAUserCouldNotAct) {
  EXPECT_NE(rt::user::Press(*w_, ctl::DISABLEDBUTTON), "");
  HIDE(ctl::GROUP);
  EXPECT_EQ(rt::GetProp(ctl::INGROUP, PROP::Visible), "");
  EXPECT_NE(rt::user::Press(*w_, ctl::INGROUP), "");
  UNHIDE(ctl::GROUP);
  rt::SetProp(ctl::GROUP, PROP::Disable, 1LL);
  EXPECT_NE(rt::user::Press(*w_, ctl::INGROUP), "");
  rt::SetProp(ctl::GROUP, PROP::Disable, 0LL);
  EXPECT_EQ(rt::user::Press(*w_, ctl::INGROUP), "");
  EXPECT_NE(rt::user::Select(*w_, ctl::DEVICELIST, 4), "");
  EXPECT_NE(rt::user::Type(*w_, ctl::SAFETY, "x"), "");
  EXPECT_NE(rt::user::DropFiles(*w_, ctl::DEVICELIST, {"/tmp/x"}), "");
  // A modal window on top: the window beneath takes nothing.
  const rt::WindowDef modalDef{.caption = "Modal"};
  rt::Window* modal = rt::OpenWindow(modalDef);
  EXPECT_NE(rt::user::Press(*w_, ctl::INGROUP), "");
  rt::CloseWindow(*modal);
  EXPECT_EQ(Events(), (std::vector<int>{EVENT::Accepted * 100 + ctl::INGROUP}));
}

TEST_F(Controls, PropertiesByNumber) {
  rt::SetProp(ctl::NAME, PROP::Text, "typed");
  EXPECT_EQ(rt::GetProp(ctl::NAME, PROP::Text), "typed");
  rt::SetProp(ctl::NAME, PROP::Hide, "5");  // any non-zero number hides
  EXPECT_EQ(rt::GetProp(ctl::NAME, PROP::Hide), "1");
  EXPECT_EQ(rt::GetPropNumber(ctl::NAME, PROP::Type), static_cast<int>(rt::Kind::Entry));
  rt::SetProp(ctl::NAME, PROP::Type, 1LL);  // read only
  EXPECT_EQ(rt::GetPropNumber(ctl::NAME, PROP::Type), static_cast<int>(rt::Kind::Entry));
  rt::SetProp(ctl::SIDE, PROP::Selected, 1LL);
  EXPECT_EQ(w_->ScreenValue(ctl::SIDE), "0");
  rt::SetProp(ctl::NAME, 0x7E01, "kept for the layers above", 3);
  EXPECT_EQ(rt::GetProp(ctl::NAME, 0x7E01, 3), "kept for the layers above");
  EXPECT_EQ(rt::GetProp(99, PROP::Text), "");
}

}  // namespace

namespace {

TEST(SystemProperties, CellsHoldAddressesWholeAndReadOnlyOnesStay) {
  auto address = reinterpret_cast<LONG_PTR>(&DEVICES);
  rt::SetSystemProp(PROP::LastChanceHook, address);
  EXPECT_EQ(rt::SystemProp(PROP::LastChanceHook), address);
  rt::SetSystemText(PROP::AppIcon, "boxwright.ico");
  EXPECT_EQ(rt::SystemText(PROP::AppIcon), "boxwright.ico");
  rt::SetSystemProp(PROP::ExeVersion, 5);
  EXPECT_EQ(rt::SystemProp(PROP::ExeVersion), 1100);
  rt::SetSystemProp(PROP::Target, address);
  EXPECT_EQ(rt::SystemProp(PROP::Target), reinterpret_cast<LONG_PTR>(rt::TargetWindow()));
}

}  // namespace
