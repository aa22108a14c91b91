// The scripted screen's pointer: hover, leave, click and movecolumn reach the program as a
// user's mouse does, and dumps show the looks the program gave its controls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rt/display.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/props.h"
#include "platform/rt/queue.h"
#include "tests/platform/rt/scripted_program.h"

namespace {

struct SongRow {
  LONG No = 0;
  std::string Title;
};

rt::Queue<SongRow> SONGS;
std::vector<std::string> Heard;

namespace ctl {
enum : int { LINK = 1, SONGLIST };
inline constexpr int LINKREGION = LINK + 2800;
}

const rt::WindowDef kWindow{
    .caption = "Links",
    .controls = {
        {.feq = ctl::LINK, .equate = "LINK", .kind = rt::Kind::String, .text = "www.example.org", .at = {10, 10, 60, 10}},
        {.feq = ctl::SONGLIST, .equate = "SONGLIST", .kind = rt::Kind::List, .at = {10, 30, 160, 60},
         .from = rt::From(SONGS, [](const SongRow& r) { return rt::Columns(r.No, r.Title, r.Title + "@x.org"); }),
         .format = "20R^~No.~@n3@60L~Title~@s20@80L^~Mail~@s40@"},
    }};

std::string Name(int event) {
  switch (event) {
    case EVENT::MouseIn: return "in";
    case EVENT::MouseOut: return "out";
    case EVENT::MouseMove: return "move";
    case EVENT::Accepted: return "accepted";
    case EVENT::ColumnResize: return "columns";
    default: return std::to_string(event);
  }
}

void LinksMain() {
  rt::Window* w = rt::OpenWindow(kWindow);
  while (rt::Accept(*w)) {
    const int event = EVENT();
    if (event == EVENT::OpenWindow) {
      CREATE(ctl::LINKREGION, rt::Kind::Region);
      for (auto [prop, value] : {std::pair{PROP::Xpos, 10}, {PROP::Ypos, 10}, {PROP::Width, 60}, {PROP::Height, 10}}) {
        rt::SetProp(ctl::LINKREGION, prop, static_cast<long long>(value));
      }
      rt::SetProp(ctl::LINKREGION, PROP::Cursor, CURSOR::Hand);
      rt::SetProp(ctl::LINK, PROP::FontColor, 0xFF0000LL);
      rt::SetProp(ctl::LINK, PROP::FontStyle, static_cast<long long>(FONT::Normal | FONT::Underline));
      rt::SetProp(ctl::SONGLIST, PROP::Imm, 1LL);
      rt::SetCellStyle(ctl::SONGLIST, 2, 2, 7);
      continue;
    }
    if (event >= EVENT::Selected) continue;
    std::string heard = Name(event) + " " + std::to_string(FIELD());
    if (FIELD() == ctl::SONGLIST && event == EVENT::MouseMove) {
      heard += " row " + rt::GetProp(ctl::SONGLIST, PROP::MouseMoveRow) + " column " +
               rt::GetProp(ctl::SONGLIST, PROP::MouseMoveField) + " zone " + rt::GetProp(ctl::SONGLIST, PROP::MouseMoveZone);
    }
    if (event == EVENT::ColumnResize) heard += " to " + rt::GetProp(ctl::SONGLIST, PROP::Column);
    if (event == EVENT::Accepted && FIELD() == ctl::SONGLIST) heard += " column " + rt::GetProp(ctl::SONGLIST, PROP::Column);
    Heard.push_back(heard);
  }
  rt::CloseWindow(*w);
}

TEST(ScriptedMouse, ThePointerReachesTheControlsItCrosses) {
  SONGS.Free();
  for (auto [no, title] : {std::pair{1, "Ripple"}, {2, "Sugaree"}}) {
    SONGS->No = no;
    SONGS->Title = title;
    SONGS.Add();
  }
  Heard.clear();
  const std::string transcript = platform_test::RunScriptedProgram(R"(hover LINK
hover SONGLIST 2 3
leave
click LINK
movecolumn SONGLIST 3 1
hover SONGLIST 1
doubleclick SONGLIST 2 1
dump
)", LinksMain, {rt::Kind::String, rt::Kind::List, rt::Kind::Region});
  const std::string region = std::to_string(ctl::LINKREGION), list = std::to_string(ctl::SONGLIST);
  EXPECT_EQ(Heard, (std::vector<std::string>{
                       "in " + region, "move " + region,                                   // hover LINK: the region over it
                       "out " + region, "in " + list, "move " + list + " row 2 column 3 zone 0",  // onto a cell
                       "out " + list,                                                      // leave
                       "in " + region, "move " + region, "accepted " + region,             // the region takes the click
                       "columns " + list + " to 1",                                        // movecolumn
                       "out " + region, "in " + list, "move " + list + " row 1 column 1 zone 0",
                       "2 " + list, "accepted " + list + " column 1"}));
  EXPECT_NE(transcript.find(R"("LINK": {"text": "www.example.org", "hidden": false, "fontColor": 16711680, "fontStyle": 8592})"),
            std::string::npos)
      << transcript;
  EXPECT_NE(transcript.find(R"("columnOrder": [3, 1, 2], "cellStyles": [[2, 3, 7]], "selected": 2)"), std::string::npos)
      << transcript;
  EXPECT_NE(transcript.find(R"([["Ripple@x.org", "1", "Ripple"], ["Sugaree@x.org", "2", "Sugaree"]])"), std::string::npos)
      << transcript;
  EXPECT_NE(transcript.find(R"("2801": {"text": "", "hidden": false, "cursor": "hand"})"), std::string::npos) << transcript;
}

}  // namespace
