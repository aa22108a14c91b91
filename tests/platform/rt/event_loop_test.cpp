#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/rt/clock.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/events.h"
#include "platform/rt/post.h"
#include "platform/rt/props.h"
#include "platform/rt/system.h"
#include "platform/rt/thread.h"
#include "platform/win/windows/messages.h"
#include "platform/win/windows/window.h"

namespace {

const rt::WindowDef kPlain{.label = "TEST", .caption = "Plain"};

struct Delivered {
  int event;
  int field;
  LPARAM slot;
};

// Per-thread slot a subclassing procedure writes, as the toolkit's alert procedure does.
thread_local LPARAM tSlot = 0;
WNDPROC gPrevious = nullptr;
LRESULT SlotProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_USER + 1) {
    tSlot = l;
    POST(EVENT::User, 0, 0);
    return 0;
  }
  return CallWindowProcA(gPrevious, h, msg, w, l);
}

std::vector<Delivered> Drain(rt::Window& w) {
  std::vector<Delivered> seen;
  while (rt::PollEvent(w)) seen.push_back({EVENT(), FIELD(), tSlot});
  return seen;
}

std::vector<int> Events(const std::vector<Delivered>& seen) {
  std::vector<int> events;
  for (const Delivered& d : seen) events.push_back(d.event);
  return events;
}

class EventLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    clock_ = std::make_shared<rt::DrivenClock>();
    previousClock_ = rt::UseClock(clock_);
  }
  void TearDown() override {
    while (rt::Window* w = rt::TopWindow()) rt::CloseWindow(*w);
    rt::UseClock(previousClock_);
  }
  std::shared_ptr<rt::DrivenClock> clock_;
  std::shared_ptr<rt::Clock> previousClock_;
};

TEST_F(EventLoop, OpenWindowIsTheFirstEventAndTheWindowBecomesActiveAndTarget) {
  rt::Window* w = rt::OpenWindow(kPlain);
  ASSERT_NE(w, nullptr);
  EXPECT_NE(w->Frame(), w->Client());
  EXPECT_EQ(GetActiveWindow(), w->Frame());
  EXPECT_EQ(rt::SystemProp(PROP::Target), reinterpret_cast<LONG_PTR>(w));
  EXPECT_EQ(w->Prop(0, PROP::Handle), std::to_string(reinterpret_cast<std::uintptr_t>(w->Frame())));
  EXPECT_EQ(w->Prop(0, PROP::ClientHandle), std::to_string(reinterpret_cast<std::uintptr_t>(w->Client())));
  ASSERT_TRUE(rt::PollEvent(*w));
  EXPECT_EQ(EVENT(), EVENT::OpenWindow);
  EXPECT_FALSE(rt::PollEvent(*w));
  rt::CloseWindow(*w);
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(rt::SystemProp(PROP::Target), 0);
}

TEST_F(EventLoop, EachEventSeesTheRawMessageThatCausedIt) {
  rt::Window* w = rt::OpenWindow(kPlain);
  gPrevious = reinterpret_cast<WNDPROC>(SetWindowLongA(w->Frame(), GWL_WNDPROC, reinterpret_cast<LONG_PTR>(SlotProc)));
  Drain(*w);
  PostMessageA(w->Frame(), WM_USER + 1, 0, 11);
  PostMessageA(w->Frame(), WM_USER + 1, 0, 22);
  auto seen = Drain(*w);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].event, EVENT::User);
  EXPECT_EQ(seen[0].slot, 11);
  EXPECT_EQ(seen[1].slot, 22);
}

TEST_F(EventLoop, RuntimeProcedureTurnsMessagesIntoEventsThroughAChainOfSubclasses) {
  rt::Window* w = rt::OpenWindow(kPlain);
  Drain(*w);
  // Subclass twice, restore in the order they were made; the runtime procedure stays last.
  gPrevious = reinterpret_cast<WNDPROC>(SetWindowLongA(w->Frame(), GWL_WNDPROC, reinterpret_cast<LONG_PTR>(SlotProc)));
  EXPECT_EQ(gPrevious, &rt::RuntimeWindowProc);
  PostMessageA(w->Frame(), WM_CLOSE, 0, 0);
  PostMessageA(w->Client(), WM_LBUTTONDOWN, 0, 0);
  PostMessageA(w->Client(), WM_LBUTTONUP, 0, 0);
  PostMessageA(w->Client(), WM_MOUSEMOVE, 0, 0);
  EXPECT_EQ(Events(Drain(*w)), std::vector<int>{EVENT::CloseWindow}) << "the loop ends after CloseWindow";
  EXPECT_FALSE(rt::Accept(*w));
  rt::CancelClose(*w);
  EXPECT_EQ(Events(Drain(*w)), (std::vector<int>{EVENT::MouseDown, EVENT::MouseUp, EVENT::MouseMove}));
  SetWindowLongA(w->Frame(), GWL_WNDPROC, reinterpret_cast<LONG_PTR>(gPrevious));
  EXPECT_EQ(GetWindowLongA(w->Frame(), GWL_WNDPROC), reinterpret_cast<LONG_PTR>(&rt::RuntimeWindowProc));
}

TEST_F(EventLoop, TimersFollowTheDrivenClockAndDoNotPileUp) {
  rt::WindowDef def = kPlain;
  def.timer = 100;
  rt::Window* w = rt::OpenWindow(def);
  Drain(*w);
  clock_->Advance(99);
  EXPECT_TRUE(Drain(*w).empty());
  clock_->Advance(1);
  EXPECT_EQ(Events(Drain(*w)), std::vector<int>{EVENT::Timer});
  // Ten periods pass unattended: one Timer waits, not ten.
  clock_->Advance(1000);
  EXPECT_EQ(Drain(*w).size(), 1u);
  w->SetProp(0, PROP::Timer, 0LL);
  clock_->Advance(1000);
  EXPECT_TRUE(Drain(*w).empty());
}

TEST_F(EventLoop, EventsOfAWindowBeneathWaitForItsLoop) {
  rt::Window* main = rt::OpenWindow(kPlain);
  Drain(*main);
  rt::WindowDef modalDef = kPlain;
  modalDef.caption = "Modal";
  rt::Window* modal = rt::OpenWindow(modalDef);
  // A raw message to the window beneath: what its procedure posts belongs to it.
  gPrevious = reinterpret_cast<WNDPROC>(SetWindowLongA(main->Frame(), GWL_WNDPROC, reinterpret_cast<LONG_PTR>(SlotProc)));
  PostMessageA(main->Frame(), WM_USER + 1, 0, 7);
  PostMessageA(main->Frame(), WM_CLOSE, 0, 0);
  POST(EVENT::User + 5);  // goes to the target: the modal window
  EXPECT_EQ(Events(Drain(*modal)), (std::vector<int>{EVENT::OpenWindow, EVENT::User + 5}));
  rt::CloseWindow(*modal);
  EXPECT_EQ(rt::TargetWindow(), main);
  EXPECT_EQ(GetActiveWindow(), main->Frame());
  auto seen = Drain(*main);
  EXPECT_EQ(Events(seen), (std::vector<int>{EVENT::User, EVENT::CloseWindow}));
  EXPECT_EQ(seen.at(0).slot, 7);
}

TEST_F(EventLoop, MessagesAndEventsFromAnotherThreadWakeTheOwner) {
  rt::UseClock(previousClock_);  // real waiting here
  rt::Window* w = rt::OpenWindow(kPlain);
  Drain(*w);
  LONG owner = THREAD();
  HWND frame = w->Frame();
  std::thread back([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    PostMessageA(frame, WM_CLOSE, 0, 0);
    POST(EVENT::User + 1, 3, owner);
  });
  ASSERT_TRUE(rt::Accept(*w));
  EXPECT_EQ(EVENT(), EVENT::CloseWindow);
  rt::CancelClose(*w);
  ASSERT_TRUE(rt::Accept(*w));
  EXPECT_EQ(EVENT(), EVENT::User + 1);
  EXPECT_EQ(FIELD(), 3);
  back.join();
  EXPECT_EQ(POST(EVENT::User, 0, 99999), FALSE);
}

TEST_F(EventLoop, AWindowOutlivesTheDefinitionItWasOpenedFrom) {
  rt::Window* w = nullptr;
  {
    rt::WindowDef def = kPlain;
    def.caption = "Built on the fly";
    w = rt::OpenWindow(def);
  }
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->Def().caption, "Built on the fly");
  EXPECT_EQ(w->Prop(0, PROP::Text), "Built on the fly");
}

TEST_F(EventLoop, UnannouncedKindsAndMisnumberedFieldsRefuseToOpen) {
  rt::WindowDef def = kPlain;
  def.controls = {{.feq = 1, .equate = "A", .kind = rt::Kind::Ellipse}};
  EXPECT_EQ(rt::OpenWindow(def), nullptr);
  rt::AnnounceControlKinds({rt::Kind::Button});
  def.controls = {{.feq = 2, .equate = "A", .kind = rt::Kind::Button}};
  EXPECT_EQ(rt::OpenWindow(def), nullptr);
  def.controls = {{.feq = 1, .equate = "A", .kind = rt::Kind::Button}};
  EXPECT_NE(rt::OpenWindow(def), nullptr);
}

}  // namespace
