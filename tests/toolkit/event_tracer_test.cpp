#include <gtest/gtest.h>

#include "platform/rt/display.h"
#include "platform/rt/event_loop.h"
#include "toolkit/alert_state.h"
#include "toolkit/error_state.h"
#include "toolkit/event_tracer.h"
#include "toolkit_test_support.h"

namespace {

const rt::WindowDef kMainWindow{
    .label = "MAIN",
    .caption = "Boxwright",
    .controls = {{.feq = 1, .equate = "CABLIST", .kind = rt::Kind::List},
                 {.feq = 2, .equate = "REFRESHBUTTON", .kind = rt::Kind::Button},
                 {.feq = 3, .equate = "CONNECTBUTTON", .kind = rt::Kind::Button}},
};

class Tracer : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::AnnounceControlKinds({rt::Kind::List, rt::Kind::Button});
    ASSERT_NE(rt::OpenWindow(kMainWindow), nullptr);
    hw::ThreadAlerts() = {};
  }
  void TearDown() override {
    while (rt::Window* w = rt::TopWindow()) rt::CloseWindow(*w);
  }
  CommandLine command_{{"/debug"}};
};

TEST_F(Tracer, LinesOfFieldWindowToolkitAndUserEvents) {
  rt::SetProp(1, 0x7C9E, 12);
  hw::AlertState& slots = hw::ThreadAlerts();
  struct Case {
    const char* window;
    LONG event;
    LONG field;
    const char* text;
    LONG hookwatch;  // the alerted message the event reads
    const char* line;
  } cases[] = {
      {"Main", 1, 3, "btn", 0, "Main 1 btn Accepted or MouseDown, Field()=3 ?CONNECTBUTTON"},
      {"Main", 2, 1, "list  ", 0, "Main 2 list NewSelection, Choice()=0, Field()=1 ?CABLIST"},
      {"Main", 0x0F, 1, "", 0, "Main 15  AlertKey, keycode()=0, Field()=1 ?CABLIST"},
      {"Main", 0x1D, 1, "s", 0, "Main 29 s ScrollTrack, field2{prop:vscrollpos}=12, Field()=1 ?CABLIST"},
      {"Main", 0x101, 9, "s", 0, "Main 257 s Selected, Field()=9"},
      {"Main", 7780, 2, "t", 0, "Main 7780 t Tipquill Message, \"Whats This\" selected, Field()=2 ?REFRESHBUTTON"},
      {"Main", 0x201, 0, "w", 0, "Main 513 w CloseWindow"},
      {"Main", 0x220, 0, "", 0, "Main 544  Move"},
      {"Main", 0x207, 0, "unnamed  ", 0, "Main 519 unnamed"},
      {"Main", 0x0E, 2, "unnamed", 0, "Main 14 unnamed"},
      {"Main", 1030, 0, "x", 0, "Main 1030 xEVENT:User 6"},
      {"Main", 4096, 0, "x", 0, "Main 4096 x"},
      {"Main", 0x500, 0, "a", 0x201, "Main 1280 a Hookwatch Message, Hookwatch()=HW::WM_LBUTTONDOWN"},
      {"Main", 0x500, 0, "a", 0x3C4, "Main 1280 a Hookwatch Message Hookwatch()=964"},
      {"Main", 6300, 0, "", 0x201, "Main 6300  Hookwatch Message, TaskbarCallBack, Hookwatch()=513"},
      {"Main", 6783, 0, "", 0, "Main 6783  Hookwatch Message, HW::WM_QueryEndSession"},
      {"Main", 7308, 0, "", 0, "Main 7308  Hookwatch Message, Taskbar balloon timeout, closed"},
      {"", 0, 0, "only text", 0, " only text"},
      {"Main", 0, 0, "x", 0, "Main x"},
  };
  for (const auto& c : cases) {
    DebugCapture debug;
    slots.VHOOKWATCH = c.hookwatch;
    kx_Debug(c.window, c.event, c.field, c.text);
    EXPECT_EQ(debug.text, std::string(c.line) + "\r\n") << c.event;
    EXPECT_EQ(kx_LastDebugEvent(), c.event);
  }
}

TEST_F(Tracer, WindowAndTextAreCut) {
  DebugCapture debug;
  kx_Debug(std::string(50, 'w'), 0x203, 0, std::string(300, 't'));
  EXPECT_EQ(debug.text, std::string(40, 'w') + " 515 " + std::string(255, 't') + "\r\n");
}

TEST_F(Tracer, TracingLeavesTheSlotsAndTheErrorStateAlone) {
  hw::AlertState& slots = hw::ThreadAlerts();
  slots.VWINSYSEVENT = 0x112;
  slots.VWTSEVENT = 5;
  slots.VWTSID = 2;
  DebugCapture debug;
  kx_ErrorReset("kx_GetReg");
  kx_ErrorSet(KX_ERR_GETREG, "x");
  kx_Debug("Main", 6782, 0, "");
  kx_Debug("Main", 6786, 0, "");
  EXPECT_EQ(debug.text,
            " kx_GetReg error, x, kx_GetReg\r\n"
            "Main 6782  Hookwatch Message, HW::WM_SysCommand, WinSysEvent()=274\r\n"
            "Main 6786  Hookwatch Message, HW::WM_WTSSESSION_CHANGE, WinWtsEvent()=5, WinWtsID()=2\r\n");
  EXPECT_EQ(slots.VWINSYSEVENT, 0x112);
  EXPECT_EQ(slots.VWTSEVENT, 5);
  EXPECT_EQ(kx_Error(), "kx_GetReg error, x, kx_GetReg");
}

TEST(TracerOff, NothingWithoutDebug) {
  DebugCapture debug;
  kx_Debug("Main", 0x203, 0, "x");
  kx_Debug("an error");
  EXPECT_EQ(debug.text, "");
  CommandLine command({"/debugWinAlert"});  // a finer switch is not "/debug"
  kx_Debug("Main", 0x203, 0, "x");
  EXPECT_EQ(debug.text, "");
}

}  // namespace
