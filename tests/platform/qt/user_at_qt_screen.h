#pragma once
// The Qt screen with a test acting as the user in front of it: the windows are the real
// ones, message boxes take their default button, file dialogs are cancelled and a popup
// chooses "Rename Cabinet" when it offers it. At each idle moment the derived test gets the
// top window to act on (Act), until the patience runs out and the top window is closed.
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include "platform/qt/qt_screen.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/user_action.h"

class UserAtQtScreen : public rt::Screen {
 public:
  UserAtQtScreen() { clock_.start(); }

  void WindowOpened(rt::Window& w) override { screen_.WindowOpened(w); }
  void WindowClosed(rt::Window& w) override { screen_.WindowClosed(w); }
  void PropertyChanged(rt::Window& w, int field, int prop, int index) override {
    screen_.PropertyChanged(w, field, prop, index);
  }
  void ListChanged(rt::Window& w, int field) override { screen_.ListChanged(w, field); }
  void CommitEdit(rt::Window& w) override { screen_.CommitEdit(w); }
  int Message(const rt::MessageRequest& request) override { return request.defaultButton; }
  std::optional<std::string> ChooseFile(const rt::FileRequest&) override { return std::nullopt; }
  int Popup(const rt::PopupRequest& request) override {
    int number = 0;
    for (const std::string& entry : request.entries) {
      if (entry == "-") continue;
      ++number;
      if (entry == "Rename Cabinet") return number;
    }
    return 0;
  }
  void Beep() override { ++beeps; }

  void Wait(std::chrono::milliseconds upTo) override {
    screen_.Wait(std::min(upTo, std::chrono::milliseconds(20)));
    rt::Window* top = rt::TopWindow();
    if (!top) return;
    if (clock_.elapsed() > kPatience) {
      ADD_FAILURE() << "gave up at " << Where() << " in \"" << top->Def().caption << "\"";
      rt::user::Close(*top);
      return;
    }
    Act(*top);
  }

  int beeps = 0;

 protected:
  virtual void Act(rt::Window& top) = 0;
  // Where the walk stands, for the message when it gives up.
  virtual std::string Where() const = 0;
  qtscreen::QtScreen& Screen() { return screen_; }

 private:
  static constexpr qint64 kPatience = 20000;  // ms for the whole walk

  qtscreen::QtScreen screen_;
  QElapsedTimer clock_;
};

// The first row of the main window's all-cabs list that holds a user cab; 0 while none does.
inline int UserCabRow(const rt::Window& main) {
  const int list = main.FieldOf("ALLCABLIST");
  for (std::size_t row = 1; row <= main.ListRecords(list); ++row) {
    const std::vector<std::string> cells = main.ListRow(list, row);
    if (cells.size() > 1 && cells[1].find_first_not_of(' ') != std::string::npos) return static_cast<int>(row);
  }
  return 0;
}
