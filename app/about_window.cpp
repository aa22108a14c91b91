#include "app/about_window.h"

#include "app/app_objects.h"
#include "platform/framework/toolbar.h"
#include "platform/framework/window_manager.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/post.h"
#include "platform/win/messages.h"
#include "toolkit/desktop_placement.h"
#include "toolkit/message_alerts.h"

namespace about_ctl {
inline constexpr int OKBUTTON = 1;
}  // namespace about_ctl

namespace {

constexpr const char* kProcedure = "AboutWindow";


class AboutWindowManager final : public WindowManager {
 public:
  int Init() override {
    GlobalErrors->SetProcedureName(kProcedure);
    Request = GlobalRequest;
    int level = WindowManager::Init();
    if (level != Level::Benign) return level;
    AddItem(toolbar_);
    GlobalRequest = 0;
    GlobalResponse = 0;
    if (!Open(def_)) return Level::Notify;
    WinAlert(WM_QUERYENDSESSION, std::nullopt, 5);
    INIMgr->Fetch(kProcedure, *Window());
    return level;
  }

  int TakeWindowEvent() override {
    int level = WindowManager::TakeWindowEvent();
    if (EVENT() == EVENT::OpenWindow) POST(EnsureVisibleEvent);
    return level;
  }

  int TakeEvent() override {
    int level = WindowManager::TakeEvent();
    if (EVENT() == EnsureVisibleEvent) kx_VisibleOnDesktop(KX_DESKTOP_WITHOUT_TASKBARS);
    return level;
  }

  int TakeAccepted() override {
    int level = WindowManager::TakeAccepted();
    if (FIELD() == about_ctl::OKBUTTON) POST(EVENT::CloseWindow);
    return level;
  }

  int Kill() override {
    if (Opened) WinAlert();
    int level = WindowManager::Kill();
    if (Opened) INIMgr->Update(kProcedure, *Window());
    GlobalErrors->SetProcedureName();
    return level;
  }

 private:
  ToolbarClass toolbar_;
  rt::WindowDef def_ = AboutWindowDef();
};

}  // namespace

rt::WindowDef AboutWindowDef() {
  using rt::Kind;
  rt::WindowDef def{.label = "P26$WINDOW",
                    .caption = "About Boxwright",
                    .font = {.name = "Tahoma", .size = 8},
                    .at = {0, 0, 260, 142},
                    .centered = true,
                    .modal = true};
  def.controls = {
      {.feq = 1, .equate = "OKBUTTON", .kind = Kind::Button, .text = "&OK", .at = {105, 118, 50, 18},
       .icon = "WAOk.ico"},
      {.feq = 2, .equate = "STRING1", .kind = Kind::String, .text = "Boxwright v1.01", .at = {8, 8, 244, 10},
       .font = {.size = 10, .style = 700}},
      {.feq = 3, .equate = "STRING2", .kind = Kind::String,
       .text = "A custom cabinet manager for the Fractal Audio Axe-FX II", .at = {8, 22, 244, 10}},
      {.feq = 4, .equate = "STRING3", .kind = Kind::String,
       .text = "(Please note we are not affiliated with Fractal Audio)", .at = {8, 34, 244, 10}},
      {.feq = 5, .equate = "STRING4", .kind = Kind::String,
       .text = "No responsibility taken for loss of data or corruption of presets.", .at = {8, 46, 244, 10}},
      {.feq = 6, .equate = "STRING5", .kind = Kind::String, .text = "https://boxwright.example.org/",
       .at = {8, 60, 244, 10}},
      // "&&" shows one ampersand; a single one would mark a mnemonic.
      {.feq = 7, .equate = "STRING6", .kind = Kind::String,
       .text = "Donations for new picks & strings are appreciated ;-)", .at = {8, 74, 244, 10}},
      {.feq = 8, .equate = "STRING7", .kind = Kind::String,
       .text = "Paypal Address: donations@boxwright.example.com", .at = {8, 86, 244, 10}},
      {.feq = 9, .equate = "STRING8", .kind = Kind::String,
       .text = "Support Email: support@boxwright.example.com", .at = {8, 98, 244, 10}},
  };
  return def;
}

void AboutWindow() {
  AboutWindowManager ThisWindow;
  ThisWindow.Run();
}
