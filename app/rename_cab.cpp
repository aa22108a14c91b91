#include "app/rename_cab.h"

#include "app/app_objects.h"
#include "app/cab_name.h"
#include "app/globals.h"
#include "platform/framework/toolbar.h"
#include "platform/framework/window_manager.h"
#include "platform/rt/dialogs.h"
#include "platform/rt/display.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/post.h"
#include "platform/win/messages.h"
#include "toolkit/desktop_placement.h"
#include "toolkit/message_alerts.h"

namespace rename_ctl {
namespace GLO {
inline constexpr int CABNAME_PROMPT = 1;
inline constexpr int CABNAME = 2;
}  // namespace GLO
inline constexpr int OKBUTTON = 3;
inline constexpr int CANCELBUTTON = 4;
}  // namespace rename_ctl

namespace {

constexpr const char* kProcedure = "RenameCab";


class RenameCabWindow final : public WindowManager {
 public:
  explicit RenameCabWindow(std::string_view currentName) : currentName_(currentName) {}

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
    if (EVENT() == EVENT::OpenWindow) {
      ::GLO::CabName = currentName_;
      SELECT(rename_ctl::GLO::CABNAME);
      LOC_ReturnValue.clear();
      DISPLAY();
      POST(EnsureVisibleEvent);
    }
    return level;
  }

  int TakeEvent() override {
    int level = WindowManager::TakeEvent();
    if (EVENT() == EnsureVisibleEvent) kx_VisibleOnDesktop(KX_DESKTOP_WITHOUT_TASKBARS);
    return level;
  }

  int TakeAccepted() override {
    int level = WindowManager::TakeAccepted();
    switch (FIELD()) {
      case rename_ctl::GLO::CABNAME:
        KeepSendableName();
        break;
      case rename_ctl::OKBUTTON:
        UPDATE();
        KeepSendableName();
        if (::GLO::CabName.empty()) {
          BEEP();
          SELECT(rename_ctl::GLO::CABNAME);
          return Level::Notify;
        }
        LOC_ReturnValue = "1";
        POST(EVENT::CloseWindow);
        break;
      case rename_ctl::CANCELBUTTON:
        POST(EVENT::CloseWindow);
        break;
      default:
        break;
    }
    return level;
  }

  int Kill() override {
    if (Opened) WinAlert();
    int level = WindowManager::Kill();
    if (Opened) INIMgr->Update(kProcedure, *Window());
    GlobalErrors->SetProcedureName();
    return level;
  }

  LONG Result() const { return LOC_ReturnValue == "1" ? 1 : 0; }

 private:
  // The entry takes only what a rename message can carry.
  void KeepSendableName() {
    std::string kept = KeepCabNameCharacters(::GLO::CabName);
    if (kept != ::GLO::CabName) {
      ::GLO::CabName = std::move(kept);
      DISPLAY(rename_ctl::GLO::CABNAME);
    }
  }

  std::string currentName_;
  std::string LOC_ReturnValue;
  ToolbarClass toolbar_;
  rt::WindowDef def_ = RenameCabWindowDef();
};

}  // namespace

rt::WindowDef RenameCabWindowDef() {
  using rt::Kind;
  rt::WindowDef def{.label = "P19$WINDOW",
                    .caption = "Rename Cab",
                    .font = {.name = "Tahoma", .size = 8},
                    .at = {0, 0, 196, 58},
                    .centered = true,
                    .modal = true};
  def.controls = {
      {.feq = 1, .equate = "GLO:CABNAME:PROMPT", .kind = Kind::Prompt, .text = "Cab Name:", .at = {8, 12, 38, 10}},
      {.feq = 2, .equate = "GLO:CABNAME", .kind = Kind::Entry, .at = {50, 10, 138, 12}, .use = ::GLO::CabName,
       .chars = CAB_NAME_MAX},
      {.feq = 3, .equate = "OKBUTTON", .kind = Kind::Button, .text = "&OK", .at = {84, 32, 50, 18}, .icon = "ok.ico"},
      {.feq = 4, .equate = "CANCELBUTTON", .kind = Kind::Button, .text = "&Cancel", .at = {138, 32, 50, 18},
       .icon = "close.ico"},
  };
  return def;
}

std::string KeepCabNameCharacters(std::string_view typed) {
  std::string kept;
  for (char c : typed)
    if (IsCabNameCharacter(c) && kept.size() < CAB_NAME_MAX) kept += c;
  return kept;
}

LONG RenameCab(std::string_view currentName) {
  RenameCabWindow ThisWindow(currentName);
  ThisWindow.Run();
  return ThisWindow.Result();
}
