#pragma once
// The screen: what shows the program's windows and dialogs to a user. The Qt screen is what
// users see; the scripted screen plays a script and writes a transcript; the quiet screen
// (the default) shows nothing and gives every dialog its default answer.
//
// The runtime calls the screen on the thread that runs the windows. The screen reports what
// the user does through the calls of user_action.h, which post the events a user's action
// fires; both real and scripted screens go through them.
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace rt {

class Window;

struct MessageRequest {
  std::string text;
  std::string caption;
  std::string icon;                  // an ICON:: name, or an image file
  std::vector<std::string> buttons;  // "Yes", "No", "OK", ... in order
  int defaultButton = 1;             // from 1
};

struct FileFilter {
  std::string name;     // "Cabs List (*.cablist)"
  std::string pattern;  // "*.cablist"; several patterns separated by ";"
};

struct FileRequest {
  enum class Kind { Open, Save };
  Kind kind = Kind::Open;
  std::string title;
  std::string file;  // the name the dialog starts with
  std::vector<FileFilter> filters;
  std::string defaultExtension;  // added to a chosen name without one (save)
  bool mustExist = false;        // open: the file and its path must exist
  bool overwritePrompt = false;  // save: ask before replacing a file
};

struct PopupRequest {
  std::vector<std::string> entries;  // "-" entries are separators
};

class Screen {
 public:
  virtual ~Screen() = default;

  // A window was opened (build it from Def() and its current properties) or closed.
  virtual void WindowOpened(Window& window) = 0;
  virtual void WindowClosed(Window& window) = 0;
  // The program created a control while the window was open (Window::CreateControl).
  virtual void ControlCreated(Window&, int) {}
  // A property of the window (field 0) or of a control changed; also the screen value
  // (PROP::ScreenText) and choice (PROP::Selected).
  virtual void PropertyChanged(Window& window, int field, int prop, int index) = 0;
  // The rows behind a list changed (seen when the event loop goes idle, or on DISPLAY).
  virtual void ListChanged(Window& window, int field) = 0;

  // The event loop has nothing to do: wait for user input, a posted message or event, up
  // to `upTo`. Return early as soon as there is something to do.
  virtual void Wait(std::chrono::milliseconds upTo) = 0;

  // Dialogs: the button chosen (from 1), the file chosen (nullopt: cancelled), the popup
  // entry chosen (from 1, separators not counted; 0: none).
  virtual int Message(const MessageRequest& request) = 0;
  virtual std::optional<std::string> ChooseFile(const FileRequest& request) = 0;
  virtual int Popup(const PopupRequest& request) = 0;
  virtual void Beep() = 0;

  // Text the user has typed into the window's focused control but not yet given to the
  // runtime is given now (through user::Type), as leaving the control would give it. Called
  // before every user action that can act on the values. Screens without such text do nothing.
  virtual void CommitEdit(Window&) {}

  // Draws what has changed now, without waiting for the user: for a window shown while the
  // program is busy and runs no event loop (the crash reporter's wait window). Screens that
  // draw at once do nothing.
  virtual void Paint() {}
};

// The process's screen. UseScreen installs one and returns the previous one (nullptr
// restores the quiet screen).
Screen& CurrentScreen();
std::unique_ptr<Screen> UseScreen(std::unique_ptr<Screen> screen);

}  // namespace rt
