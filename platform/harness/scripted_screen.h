#pragma once
// The scripted screen: plays a script of user actions and dialog answers and writes what the
// program showed as a transcript (JSON Lines). It runs the program on a driven clock: time
// passes only by `wait`. Chosen for a whole run by BOXWRIGHT_SCREEN=script, with the script
// in BOXWRIGHT_SCRIPT and the transcript to BOXWRIGHT_TRANSCRIPT (standard output when unset).
//
// Script, one action a line ("#" comments and blank lines are skipped; controls by equate
// without "?"; rows from 1; texts in double quotes, \" for a quote):
//   select CONTROL ROW [COLUMN] | press CONTROL | set CONTROL "TEXT"
//   rightclick CONTROL ROW [COLUMN] | doubleclick CONTROL ROW [COLUMN]
//   drop CONTROL "PATH" | wait SECONDS | dump | close
//   hover CONTROL [ROW [COLUMN]]   the pointer moves onto the control (the middle of a list
//                                  cell; a row alone means its first column)
//   leave                          the pointer leaves the window
//   click CONTROL                  the pointer moves onto it and the left button clicks
//   movecolumn CONTROL FROM TO     the user drags a list's column to another position
// A control created while the window is open goes by its number.
//   answer popup "ENTRY" | answer message "BUTTON" | answer open "PATH" | answer save "PATH"
//   answer cancel        (answers are queued for the dialogs that follow, in order)
// Each line is carried out when the program waits for input, after the settle hooks ran and
// every posted message and event was handled. At the end of the script the top window is
// closed as its close box does, until the program ends. A line that cannot be carried out
// writes {"error": "..."} and ends the process with exit status 2.
//
// Another process of the program can carry on the same script and transcript (the crash
// reporter's presenting process does): BOXWRIGHT_SCRIPT_RESUME="A,B" skips the lines up to B
// except answer lines from A on (the answers read but not yet taken), and appends to the
// transcript.
#include <deque>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/harness/script_line.h"
#include "platform/rt/clock.h"
#include "platform/rt/screen.h"
#include "platform/rt/script_resume.h"

namespace harness {

class ScriptedScreen final : public rt::Screen {
 public:
  // A null transcript writes to standard output. Installs `clock` as the runtime's clock
  // for as long as the screen lives.
  ScriptedScreen(std::unique_ptr<std::istream> script, std::unique_ptr<std::ostream> transcript,
                 std::shared_ptr<rt::DrivenClock> clock = std::make_shared<rt::DrivenClock>());
  ~ScriptedScreen() override;
  static std::unique_ptr<ScriptedScreen> FromEnvironment();

  void WindowOpened(rt::Window&) override {}
  void WindowClosed(rt::Window&) override {}
  void PropertyChanged(rt::Window&, int, int, int) override {}
  void ListChanged(rt::Window&, int) override {}
  void Wait(std::chrono::milliseconds upTo) override;
  int Message(const rt::MessageRequest& request) override;
  std::optional<std::string> ChooseFile(const rt::FileRequest& request) override;
  int Popup(const rt::PopupRequest& request) override;
  void Beep() override;

 private:
  struct Answer {
    std::string kind;  // popup, message, open, save, cancel
    std::string text;
    int line = 0;
  };

  void CarryOut(const std::vector<ScriptToken>& tokens);
  std::string Hover(rt::Window& window, int field, int row, int column);
  Answer TakeAnswer(const std::string& dialog);
  void Write(const std::string& line);
  void PublishResume() const;
  void ReadResumedLines();
  [[noreturn]] void Fail(const std::string& why);

  std::unique_ptr<std::istream> script_;
  std::unique_ptr<std::ostream> ownTranscript_;
  std::ostream* transcript_;
  std::shared_ptr<rt::DrivenClock> clock_;
  std::shared_ptr<rt::Clock> previousClock_;
  std::deque<Answer> answers_;
  std::int64_t waitLeft_ = 0;  // hundredths still to pass for the current `wait`
  int line_ = 0;
  int closesAfterEnd_ = 0;
  rt::ScriptResume resumeFrom_{0, 0};  // lines this process skips
  std::string startError_;
};

}  // namespace harness
