#pragma once
// A window as the program declares it: a static definition that OpenWindow builds.
// Sizes and positions are dialog units. Controls are listed in order; a control's field
// number is its position in the list (from 1), and `feq` must repeat it (or stay 0) so that
// the program's equates and the definition cannot drift apart. Every member has a default,
// so definitions name only what they need: {.feq = 6, .equate = "CONNECTBUTTON", ...}.
#include <memory>
#include <string>
#include <vector>

#include "platform/rt/control_kind.h"
#include "platform/rt/list_source.h"
#include "platform/rt/use.h"

namespace rt {

struct Font {
  std::string name{};
  int size = 8;
  int style = 0;     // 400 normal weight, 700 bold; 0x2000 underline
  long color = -1;   // -1: the screen's default
};

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// Characters from `first` to `last` (code points); both 0: every character.
struct CharRange {
  char32_t first = 0;
  char32_t last = 0;
  bool Any() const { return first == 0 && last == 0; }
  bool Holds(char32_t c) const { return Any() || (c >= first && c <= last); }
};

struct ControlDef {
  int feq = 0;
  std::string equate{};  // the field equate without "?": "CONNECTBUTTON", "CAB:NUMBER"
  Kind kind = Kind::Prompt;
  std::string text{};
  Rect at{};
  Use use{};                              // the variable it shows and changes
  std::shared_ptr<ListSource> from{};     // list, drop list, combo: the rows it shows
  std::string format{};                   // list: column format
  int parent = 0;                       // field of the enclosing option, group, sheet or tab
  std::string value{};                    // radio: its option's value; check: value when on ("1")
  std::string offValue{};                 // check: value when off ("0")
  std::string picture{};                  // display picture of entries, spins, strings ("@n3")
  int chars = 0;                        // entry, spin: most characters typed (0: no limit)
  CharRange typable{};                    // entry: the characters a user can type; others beep
  int low = 0;                          // spin range (low == high: no range)
  int high = 0;
  int step = 1;
  std::string icon{};
  std::string dropId{};                   // drops accepted: "~FILE" takes files from the shell
  bool drop = false;                    // list: shown as a drop list
  bool hidden = false;
  bool disabled = false;
  bool readOnly = false;
  bool defaultButton = false;           // button: Enter in its window presses it
  std::vector<int> alerts{};              // alerted keys (KEY::MouseRight ...)
  Font font{};                            // empty name: the window's font

  // The user edits the screen value (so UPDATE takes it back): entries, spin boxes, checks,
  // options, combos, texts and drop lists.
  bool UserEditsValue() const {
    switch (kind) {
      case Kind::Entry:
      case Kind::Spin:
      case Kind::Check:
      case Kind::Option:
      case Kind::Combo:
      case Kind::Text:
        return true;
      case Kind::List:
        return drop;
      default:
        return false;
    }
  }
};

struct WindowDef {
  std::string label{};  // resource label, "P1$WINDOW"
  std::string caption{};
  Font font{};
  std::string icon{};
  std::string wallpaper{};
  Rect at{};            // x and y are ignored when centered
  int timer = 0;      // hundredths between Timer events; 0 none
  bool centered = false;
  bool resizable = false;
  bool modal = false;
  bool maximizeBox = false;
  bool hidden = false;  // a window the screen never shows (hidden runtime windows)
  std::vector<ControlDef> controls{};
};

}  // namespace rt
