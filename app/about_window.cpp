#include "app/about_window.h"

#include "app/librarian_window.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/post.h"

namespace about_ctl {
inline constexpr int OKBUTTON = 1;
}  // namespace about_ctl

namespace {

class AboutWindowManager final : public LibrarianWindow {
 public:
  AboutWindowManager() : LibrarianWindow("AboutWindow") {}

  int TakeAccepted() override {
    int level = LibrarianWindow::TakeAccepted();
    if (FIELD() == about_ctl::OKBUTTON) POST(EVENT::CloseWindow);
    return level;
  }

 private:
  const rt::WindowDef& Definition() const override { return def_; }

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
      {.feq = about_ctl::OKBUTTON, .equate = "OKBUTTON", .kind = Kind::Button, .text = "&OK", .at = {105, 118, 50, 18},
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
      {.feq = 7, .equate = "STRING6", .kind = Kind::String,
       .text = "Donations for new picks & strings are appreciated ;-)", .at = {8, 74, 244, 10}},
      {.feq = 8, .equate = "STRING7", .kind = Kind::String, .text = "Paypal Address: donations@boxwright.example.com",
       .at = {8, 86, 244, 10}},
      {.feq = 9, .equate = "STRING8", .kind = Kind::String, .text = "Support Email: support@boxwright.example.com",
       .at = {8, 98, 244, 10}},
  };
  return def;
}

void AboutWindow() {
  AboutWindowManager ThisWindow;
  ThisWindow.Run();
}
