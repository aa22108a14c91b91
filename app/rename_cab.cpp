#include "app/rename_cab.h"

#include "app/cab_name.h"
#include "app/globals.h"
#include "app/librarian_window.h"
#include "platform/rt/dialogs.h"
#include "platform/rt/display.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/post.h"

namespace rename_ctl {
namespace GLO {
inline constexpr int CABNAME_PROMPT = 1;
inline constexpr int CABNAME = 2;
}  // namespace GLO
inline constexpr int OKBUTTON = 3;
inline constexpr int CANCELBUTTON = 4;
}  // namespace rename_ctl

namespace {

// The characters of a typed name that a rename message can carry (20h-7Eh), at most 31.
std::string KeepCabNameCharacters(std::string_view typed) {
  std::string kept;
  for (char c : typed)
    if (IsCabNameCharacter(c) && kept.size() < CAB_NAME_MAX) kept += c;
  return kept;
}

class RenameCabWindow final : public LibrarianWindow {
 public:
  explicit RenameCabWindow(std::string_view currentName) : LibrarianWindow("RenameCab"), currentName_(currentName) {}

  int TakeWindowEvent() override {
    int level = LibrarianWindow::TakeWindowEvent();
    if (EVENT() == EVENT::OpenWindow) {
      ::GLO::CabName = currentName_;
      SELECT(rename_ctl::GLO::CABNAME);
      LOC_ReturnValue.clear();
      DISPLAY();
    }
    return level;
  }

  int TakeAccepted() override {
    int level = LibrarianWindow::TakeAccepted();
    switch (FIELD()) {
      case rename_ctl::GLO::CABNAME:
        KeepSendableName();
        break;
      case rename_ctl::OKBUTTON:
        UPDATE();
        KeepSendableName();
        // Names compare without trailing blanks, so a name of blanks is no name.
        if (::GLO::CabName.find_first_not_of(' ') == std::string::npos) {
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

  LONG Result() const { return LOC_ReturnValue == "1" ? 1 : 0; }

 private:
  const rt::WindowDef& Definition() const override { return def_; }

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
      {.feq = rename_ctl::GLO::CABNAME_PROMPT, .equate = "GLO:CABNAME:PROMPT", .kind = Kind::Prompt,
       .text = "Cab Name:", .at = {8, 12, 38, 10}},
      {.feq = rename_ctl::GLO::CABNAME, .equate = "GLO:CABNAME", .kind = Kind::Entry, .at = {50, 10, 138, 12},
       .use = ::GLO::CabName, .chars = CAB_NAME_MAX, .typable = {CAB_NAME_FIRST_CHARACTER, CAB_NAME_LAST_CHARACTER}},
      {.feq = rename_ctl::OKBUTTON, .equate = "OKBUTTON", .kind = Kind::Button, .text = "&OK", .at = {84, 32, 50, 18},
       .icon = "ok.ico", .defaultButton = true},
      {.feq = rename_ctl::CANCELBUTTON, .equate = "CANCELBUTTON", .kind = Kind::Button, .text = "&Cancel",
       .at = {138, 32, 50, 18}, .icon = "close.ico"},
  };
  return def;
}

LONG RenameCab(std::string_view currentName) {
  RenameCabWindow ThisWindow(currentName);
  ThisWindow.Run();
  return ThisWindow.Result();
}
