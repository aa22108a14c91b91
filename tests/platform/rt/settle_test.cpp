#include <gtest/gtest.h>

#include <atomic>
#include <sstream>
#include <thread>

#include "platform/rt/display.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/post.h"
#include "platform/rt/props.h"
#include "platform/harness/scripted_screen.h"
#include "platform/rt/settle.h"
#include "platform/win/windows/messages.h"
#include "platform/win/windows/window.h"

namespace {

WNDPROC gPrevious = nullptr;
LRESULT CountingProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_USER + 5) {
    POST(EVENT::User, static_cast<int>(l));
    return 0;
  }
  return CallWindowProcA(gPrevious, h, msg, w, l);
}

// A back-end thread answers late; the settle hook waits for it, so the script's dump sees
// the answer every time.
TEST(Settle, ScriptedLinesWaitForBackEndWorkAndWaitLetsTimersRun) {
  auto* transcript = new std::ostringstream;
  rt::UseScreen(std::make_unique<harness::ScriptedScreen>(std::make_unique<std::istringstream>("dump\nwait 3\ndump\n"),
                                                     std::unique_ptr<std::ostream>(transcript)));
  rt::AnnounceControlKinds({rt::Kind::Prompt});
  const rt::WindowDef def{.caption = "Late", .timer = 100, .controls = {{.equate = "ANSWER", .kind = rt::Kind::Prompt}}};
  rt::Window* w = rt::OpenWindow(def);
  gPrevious = reinterpret_cast<WNDPROC>(SetWindowLongA(w->Frame(), GWL_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc)));
  HWND frame = w->Frame();
  std::thread backEnd([frame] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    PostMessageA(frame, WM_USER + 5, 0, 42);
  });
  int hook = rt::AddSettleHook([&] {
    if (backEnd.joinable()) backEnd.join();
  });
  int ticks = 0;
  while (rt::Accept(*w)) {
    if (EVENT() == EVENT::User) rt::SetProp(1, PROP::Text, std::to_string(FIELD()));
    if (EVENT() == EVENT::Timer) ++ticks;
  }
  rt::CloseWindow(*w);
  rt::RemoveSettleHook(hook);
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(transcript->str(),
            R"({"dump": {"Late": {"ANSWER": {"text": "42", "hidden": false}}}})" "\n"
            R"({"dump": {"Late": {"ANSWER": {"text": "42", "hidden": false}}}})" "\n");
  rt::UseScreen(nullptr);
}

}  // namespace
