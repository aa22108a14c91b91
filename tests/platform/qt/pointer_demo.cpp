// The demo window on the real screen with links made by hand, for trying the mouse as a
// user: a region over the "MIDI In:" prompt lights it and shows the hand; the cab list
// lights the name under the pointer; its Cab No. and Name columns can be dragged. Column
// moves are written to the standard error. Not a test: run it on a display.
#include <cstdio>

#include "demo_window.h"
#include "platform/qt/make_qt_screen.h"
#include "platform/rt/display.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/module.h"
#include "platform/rt/props.h"

namespace {

namespace ctl = demo::ctl;
constexpr int kPromptRegion = ctl::MIDIINPROMPT + 2800;
constexpr int kNameColumn = 3, kLinkStyle = 2, kLitStyle = 3;

int NameColumnNow() {
  for (int column = 1; !rt::GetProp(ctl::ALLCABLIST, PROP::ColumnExists, column).empty(); ++column) {
    if (rt::GetProp(ctl::ALLCABLIST, PROP::ColumnFormat, column).find("Name") != std::string::npos) return column;
  }
  return 0;
}

void MakeLinks() {
  CREATE(kPromptRegion, rt::Kind::Region);
  for (int prop : {PROP::Xpos, PROP::Ypos, PROP::Width, PROP::Height}) {
    rt::SetProp(kPromptRegion, prop, rt::GetProp(ctl::MIDIINPROMPT, prop));
  }
  rt::SetProp(kPromptRegion, PROP::Cursor, CURSOR::Hand);
  rt::SetProp(ctl::ALLCABLIST, PROP::Format, "32R(2)|M^~Cab No.~@n_3@32R(2)|M~User Cab~@N_3B@252L(2)|M^~Name~@s63@");
  rt::SetProp(ctl::ALLCABLIST, PROP::Imm, 1LL);
  rt::SetProp(ctl::ALLCABLIST, PROP::StyleFontStyle, static_cast<long long>(FONT::Normal | FONT::Underline), kLinkStyle);
  rt::SetProp(ctl::ALLCABLIST, PROP::StyleFontColor, 0x8B0000LL, kLinkStyle);
  rt::SetProp(ctl::ALLCABLIST, PROP::StyleFontStyle, static_cast<long long>(FONT::Bold | FONT::Underline), kLitStyle);
  rt::SetProp(ctl::ALLCABLIST, PROP::StyleFontColor, 0x0000FFLL, kLitStyle);
  rt::SetProp(ctl::ALLCABLIST, PROP::ColumnStyle, static_cast<long long>(kLinkStyle), kNameColumn);
}

void TrackList(int& litRow) {
  const int column = NameColumnNow();
  const bool onName = EVENT() == EVENT::MouseMove && rt::GetPropNumber(ctl::ALLCABLIST, PROP::MouseMoveZone) == LISTZONE::Field &&
                      rt::GetPropNumber(ctl::ALLCABLIST, PROP::MouseMoveField) == column;
  const int row = onName ? static_cast<int>(rt::GetPropNumber(ctl::ALLCABLIST, PROP::MouseMoveRow)) : 0;
  if (row == litRow) return;
  if (litRow != 0) rt::SetCellStyle(ctl::ALLCABLIST, litRow, column, 0);
  if (row != 0) rt::SetCellStyle(ctl::ALLCABLIST, row, column, kLitStyle);
  rt::SetProp(ctl::ALLCABLIST, PROP::Cursor, row != 0 ? CURSOR::Hand : CURSOR::Arrow);
  litRow = row;
}

void DemoMain() {
  demo::DemoWindow demo;
  rt::Window* w = rt::OpenWindow(demo.def);
  if (w == nullptr) return;
  int litRow = 0;
  while (rt::Accept(*w)) {
    if (EVENT() == EVENT::OpenWindow) MakeLinks();
    if (FIELD() == kPromptRegion && (EVENT() == EVENT::MouseIn || EVENT() == EVENT::MouseOut)) {
      const bool in = EVENT() == EVENT::MouseIn;
      rt::SetProp(ctl::MIDIINPROMPT, PROP::FontColor, in ? 0x0000FFLL : -1LL);
      rt::SetProp(ctl::MIDIINPROMPT, PROP::FontStyle, static_cast<long long>(in ? FONT::Bold | FONT::Underline : FONT::Normal));
    }
    if (FIELD() == kPromptRegion && EVENT() == EVENT::Accepted) std::fprintf(stderr, "prompt link clicked\n");
    if (FIELD() == ctl::ALLCABLIST && (EVENT() == EVENT::MouseMove || EVENT() == EVENT::MouseOut)) TrackList(litRow);
    if (FIELD() == ctl::ALLCABLIST && EVENT() == EVENT::ColumnResize) {
      std::fprintf(stderr, "column moved to %s:", rt::GetProp(ctl::ALLCABLIST, PROP::Column).c_str());
      for (int column = 1; !rt::GetProp(ctl::ALLCABLIST, PROP::ColumnExists, column).empty(); ++column) {
        std::fprintf(stderr, " [%d] %s", column, rt::GetProp(ctl::ALLCABLIST, PROP::ColumnFormat, column).c_str());
      }
      std::fprintf(stderr, "\n");
    }
  }
  rt::CloseWindow(*w);
}

}  // namespace

int main(int argc, char** argv) {
  rt::Program program;
  program.main = DemoMain;
  program.screen = [] { return qtscreen::MakeQtScreen(); };
  return rt::RunProgram(argc, argv, program);
}
