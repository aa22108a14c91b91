#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/rt/dialogs.h"
#include "platform/rt/display.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/module.h"
#include "platform/rt/post.h"
#include "platform/rt/props.h"
#include "platform/rt/queue.h"
#include "tests/platform/rt/scripted_program.h"

namespace {

// A small window with one control of each kind the screen drives.
namespace ctl {
enum : int { NAMEPROMPT = 1, NAME, GREETBUTTON, SIDE, SIDELEFT, SIDERIGHT, LOUD, SHEET, ITEMSTAB, ITEMLIST, OTHERTAB, TICKS, CLOSEBUTTON };
}

struct ItemRow {
  long No = 0;
  std::string Name;
};

rt::Queue<ItemRow> ITEMS;
std::string LOC_Name;
BYTE LOC_Side = 0;
BYTE LOC_Loud = 0;
LONG LOC_Ticks = 0;

const rt::WindowDef& DemoWindow() {
  static const rt::WindowDef def{
      .label = "DEMO",
      .caption = "Demo",
      .at = {0, 0, 200, 120},
      .timer = 100,
      .controls = {
          {.feq = ctl::NAMEPROMPT, .equate = "NAMEPROMPT", .kind = rt::Kind::Prompt, .text = "Name:"},
          {.feq = ctl::NAME, .equate = "LOC:NAME", .kind = rt::Kind::Entry, .use = LOC_Name, .chars = 8},
          {.feq = ctl::GREETBUTTON, .equate = "GREETBUTTON", .kind = rt::Kind::Button, .text = "Greet"},
          {.feq = ctl::SIDE, .equate = "SIDE", .kind = rt::Kind::Option, .text = "Side", .use = LOC_Side},
          {.feq = ctl::SIDELEFT, .equate = "SIDELEFT", .kind = rt::Kind::Radio, .text = "Left", .parent = ctl::SIDE, .value = "0"},
          {.feq = ctl::SIDERIGHT, .equate = "SIDERIGHT", .kind = rt::Kind::Radio, .text = "Right", .parent = ctl::SIDE, .value = "1"},
          {.feq = ctl::LOUD, .equate = "LOUD", .kind = rt::Kind::Check, .text = "Loud", .use = LOC_Loud},
          {.feq = ctl::SHEET, .equate = "SHEET", .kind = rt::Kind::Sheet},
          {.feq = ctl::ITEMSTAB, .equate = "ITEMSTAB", .kind = rt::Kind::Tab, .text = "Items", .parent = ctl::SHEET},
          {.feq = ctl::ITEMLIST,
           .equate = "ITEMLIST",
           .kind = rt::Kind::List,
           .from = rt::From(ITEMS, [](const ItemRow& r) { return rt::Columns(r.No, r.Name); }),
           .format = "20R(2)|M~No.~@n_3B@60L(2)|M~Name~@s10@",
           .parent = ctl::ITEMSTAB,
           .dropId = "~FILE",
           .alerts = {KEY::MouseRight}},
          {.feq = ctl::OTHERTAB, .equate = "OTHERTAB", .kind = rt::Kind::Tab, .text = "Other", .parent = ctl::SHEET},
          {.feq = ctl::TICKS, .equate = "TICKS", .kind = rt::Kind::String, .use = LOC_Ticks, .parent = ctl::OTHERTAB, .picture = "@n3"},
          {.feq = ctl::CLOSEBUTTON, .equate = "CLOSEBUTTON", .kind = rt::Kind::Button, .text = "Close"},
      }};
  return def;
}

void AddItem(long no, std::string name) {
  ITEMS->No = no;
  ITEMS->Name = std::move(name);
  ITEMS.Add(&ItemRow::No);
}

void DemoMain() {
  rt::Window* w = rt::OpenWindow(DemoWindow());
  if (w == nullptr) return;
  while (rt::Accept(*w)) {
    switch (EVENT()) {
      case EVENT::OpenWindow:
        AddItem(2, "second");
        AddItem(0, "zero");
        DISPLAY();
        break;
      case EVENT::Timer:
        ++LOC_Ticks;
        DISPLAY(ctl::TICKS);
        break;
      case EVENT::Accepted:
        if (FIELD() == ctl::GREETBUTTON) {
          if (LOC_Name.empty()) {
            BEEP();
          } else if (MESSAGE("Hello " + LOC_Name, "Greeting", ICON::Question, BUTTON::Yes | BUTTON::No, BUTTON::No) == BUTTON::Yes) {
            AddItem(static_cast<long>(ITEMS.Records()) + 1, LOC_Name);
          }
        } else if (FIELD() == ctl::CLOSEBUTTON) {
          POST(EVENT::CloseWindow);
        }
        break;
      case EVENT::AlertKey:
        if (FIELD() == ctl::ITEMLIST && KEYCODE() == KEY::MouseRight) {
          int chosen = POPUP("Remove|-|Save As...");
          if (chosen == 1 && ITEMS.Get(static_cast<std::size_t>(CHOICE(ctl::ITEMLIST)))) ITEMS.Delete();
          std::string file = "items";
          if (chosen == 2 && FILEDIALOG("Save Items", file, "Items|*.items", FILEDLG::Save, "items")) AddItem(99, file);
        }
        break;
      case EVENT::Drop:
        AddItem(50, DROPID());
        break;
      default:
        break;
    }
  }
  rt::CloseWindow(*w);
}

// Runs the demo program under the scripted screen and returns the transcript.
std::string RunScript(const std::string& script) {
  ITEMS.Free();
  LOC_Name.clear();
  LOC_Side = LOC_Loud = 0;
  LOC_Ticks = 0;
  return platform_test::RunScriptedProgram(script, DemoMain,
                                           {rt::Kind::Prompt, rt::Kind::Entry, rt::Kind::Button, rt::Kind::Option,
                                            rt::Kind::Radio, rt::Kind::Check, rt::Kind::Sheet, rt::Kind::Tab,
                                            rt::Kind::List, rt::Kind::String});
}

TEST(ScriptedScreen, DrivesTheDemoWindowAndWritesTheTranscript) {
  std::string transcript = RunScript(R"(# a user's session
press GREETBUTTON
set LOC:NAME "Annabelle Lee"
answer message "Yes"
press GREETBUTTON
select SIDE 2
press LOUD
wait 2.5
dump
answer popup "Remove"
rightclick ITEMLIST 2
drop ITEMLIST "/tmp/a \"b\".cab"
answer cancel
rightclick ITEMLIST 0
select SHEET 2
dump
)");
  std::string expected =
      R"({"beep": true})" "\n"
      R"({"message": {"caption": "Greeting", "text": "Hello Annabell", "icon": "question", "buttons": ["Yes", "No"], "answer": "Yes"}})" "\n"
      R"({"dump": {"Demo": {"NAMEPROMPT": {"text": "Name:", "hidden": false}, )"
      R"("LOC:NAME": {"text": "", "value": "Annabell", "hidden": false}, )"
      R"("GREETBUTTON": {"text": "Greet", "hidden": false}, )"
      R"("SIDE": {"text": "Side", "value": "1", "hidden": false, "selected": 2}, )"
      R"("SIDELEFT": {"text": "Left", "hidden": false}, "SIDERIGHT": {"text": "Right", "hidden": false}, )"
      R"("LOUD": {"text": "Loud", "value": "1", "hidden": false}, )"
      R"("SHEET": {"text": "", "hidden": false, "selected": 1}, )"
      R"("ITEMSTAB": {"text": "Items", "hidden": false}, )"
      R"("ITEMLIST": {"text": "", "hidden": false, "rows": [["", "zero"], ["2", "second"], ["3", "Annabell"]], "selected": 0}, )"
      R"("OTHERTAB": {"text": "Other", "hidden": false}, )"
      R"("TICKS": {"text": "", "value": "2", "hidden": true}, )"
      R"("CLOSEBUTTON": {"text": "Close", "hidden": false}}}})" "\n"
      R"({"popup": {"entries": ["Remove", "-", "Save As..."], "answer": "Remove"}})" "\n";
  ASSERT_EQ(transcript.substr(0, expected.size()), expected);
  EXPECT_EQ(LOC_Side, 1);
  EXPECT_EQ(LOC_Loud, 1);
  EXPECT_EQ(LOC_Name, "Annabell");  // the entry takes eight characters
  // The empty space below the rows still opens the menu; a dropped path is cut by the
  // column's picture; the tab not chosen hides its list.
  EXPECT_NE(transcript.find(R"({"popup": {"entries": ["Remove", "-", "Save As..."], "answer": null}})"), std::string::npos)
      << transcript;
  EXPECT_NE(transcript.find(R"("ITEMLIST": {"text": "", "hidden": true, "rows": [["", "zero"], ["3", "Annabell"], ["50", "/tmp/a \"b\""]], "selected": 2})"), std::string::npos)
      << transcript;
}

struct BadScript {
  const char* script;
  const char* error;
};

TEST(ScriptedScreen, ALineThatCannotBeCarriedOutEndsWithStatusTwo) {
  const BadScript cases[] = {
      {"press NOSUCH\n", R"({"error": "line 1: unknown control NOSUCH in \"Demo\""})"},
      {"select SHEET 2\nselect ITEMLIST 1\n", R"({"error": "line 2: control ITEMLIST is hidden"})"},
      {"set LOC:NAME \"x\"\npress GREETBUTTON\n", R"({"error": "line 2: no answer for the message \"Greeting\""})"},
      {"\n# only a comment\nselect ITEMLIST 9\n", R"({"error": "line 3: list ITEMLIST has no row 9"})"},
      {"press LOC:NAME\n", R"({"error": "line 1: control LOC:NAME (entry) cannot be pressed"})"},
      {"set LOC:NAME \"open\n", R"({"error": "line 1: a quoted text is not closed"})"},
      {"answer open \"/no/such/file\"\nrightclick ITEMLIST 1\n", R"({"error": "line 2: the popup menu got an answer for a open dialog"})"},
      {"fly away\n", R"({"error": "line 1: unknown control away in \"Demo\""})"},
      {"press NOSUCH\xF8\x80\x80\n", R"({"error": "line 1: unknown control NOSUCH\u00f8\u0080\u0080 in \"Demo\""})"},
      {"wait soon\n", R"({"error": "line 1: \"wait\" takes a number of seconds, at most a day"})"},
      {"wait 1\nclose now\n", R"x({"error": "line 2: \"close\" takes 0 argument(s)"})x"},
      {"select SHEET 2\nhover ITEMLIST\n", R"({"error": "line 2: control ITEMLIST is hidden"})"},
      {"hover ITEMLIST 1 3\n", R"({"error": "line 1: list ITEMLIST has no column 3"})"},
      {"hover GREETBUTTON 1\n", R"({"error": "line 1: control GREETBUTTON has no rows"})"},
      {"click GREETBUTTON\n", R"({"error": "line 1: control GREETBUTTON (button) cannot be clicked"})"},
      {"movecolumn ITEMLIST 2 1\n", R"({"error": "line 1: the format of list ITEMLIST keeps column 2 in place"})"},
      {"movecolumn ITEMLIST 1 x\n", R"({"error": "line 1: \"movecolumn\" takes a column number"})"},
      {"hover 4000\n", R"({"error": "line 1: unknown control 4000 in \"Demo\""})"},
  };
  for (const auto& c : cases) {
    EXPECT_EXIT(RunScript(c.script), ::testing::ExitedWithCode(2), "") << c.script;
    std::ifstream in(platform_test::TestName() + ".jsonl");
    std::string last, line;
    while (std::getline(in, line)) last = line;
    EXPECT_EQ(last, c.error) << c.script;
  }
}

TEST(ScriptedScreen, EndOfScriptClosesTheWindowsAndTheProgramEnds) {
  std::string transcript = RunScript("answer popup \"Save As...\"\nanswer save \"kept\"\nrightclick ITEMLIST 1\n");
  EXPECT_NE(transcript.find(R"({"file": {"kind": "save", "title": "Save Items", "answer": "kept.items"}})"), std::string::npos)
      << transcript;
}

}  // namespace
