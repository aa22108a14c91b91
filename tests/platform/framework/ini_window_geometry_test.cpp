#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/framework/ini_class.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/props.h"
#include "tests/platform/test_files.h"

namespace fs = std::filesystem;

namespace {

const rt::WindowDef kMain{.label = "P1$WINDOW", .at = {10, 20, 348, 239}, .resizable = true};
const rt::WindowDef kRename{.label = "P19$WINDOW", .at = {30, 40, 200, 60}, .modal = true};

struct Geometry {
  long long x, y, width, height;
  bool maximized, minimized;
  bool operator==(const Geometry&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Geometry& g) {
  return out << g.x << "," << g.y << " " << g.width << "x" << g.height << (g.maximized ? " max" : "")
             << (g.minimized ? " min" : "");
}

Geometry GeometryOf(const rt::Window& w) {
  return {w.PropNumber(0, PROP::Xpos),         w.PropNumber(0, PROP::Ypos),
          w.PropNumber(0, PROP::Width),        w.PropNumber(0, PROP::Height),
          w.PropNumber(0, PROP::Maximize) != 0, w.PropNumber(0, PROP::Iconize) != 0};
}

void SetGeometry(rt::Window& w, const Geometry& g) {
  w.SetProp(0, PROP::Xpos, g.x);
  w.SetProp(0, PROP::Ypos, g.y);
  w.SetProp(0, PROP::Width, g.width);
  w.SetProp(0, PROP::Height, g.height);
  w.SetProp(0, PROP::Maximize, g.maximized);
  w.SetProp(0, PROP::Iconize, g.minimized);
}

class WindowGeometry : public ::testing::Test {
 protected:
  void SetUp() override { ini.Init(file.string()); }

  // Opens the window, restores it from the settings, and reports where it is.
  Geometry Reopened(const rt::WindowDef& def, std::string_view procedure) {
    rt::Window* w = rt::OpenWindow(def);
    ini.Fetch(procedure, *w);
    Geometry g = GeometryOf(*w);
    rt::CloseWindow(*w);
    return g;
  }
  // Closes a window at the given geometry, saving it.
  void ClosedAt(const rt::WindowDef& def, std::string_view procedure, const Geometry& g) {
    rt::Window* w = rt::OpenWindow(def);
    SetGeometry(*w, g);
    EXPECT_TRUE(ini.Update(procedure, *w));
    rt::CloseWindow(*w);
  }
  std::string FileText() { return platform_test::FileText(file); }

  platform_test::ScratchFolder scratch;
  const fs::path file = scratch.path / "settings.ini";
  INIClass ini;
};

TEST_F(WindowGeometry, WindowsReopenWhereTheyWereClosed) {
  EXPECT_EQ(Reopened(kMain, "Main"), (Geometry{10, 20, 348, 239, false, false})) << "first run: designed place";

  ClosedAt(kMain, "Main", {-5, 60, 500, 300, false, false});
  ClosedAt(kRename, "RenameCab", {100, 110, 200, 60, false, false});
  EXPECT_EQ(FileText(),
            "[Main]\r\nMaximize=No\r\nMinimize=No\r\nXPos=-5\r\nYPos=60\r\nWidth=500\r\nHeight=300\r\n\r\n"
            "[RenameCab]\r\nMaximize=No\r\nMinimize=No\r\nXPos=100\r\nYPos=110\r\nWidth=200\r\nHeight=60\r\n");
  EXPECT_EQ(Reopened(kMain, "Main"), (Geometry{-5, 60, 500, 300, false, false}));
  EXPECT_EQ(Reopened(kRename, "RenameCab"), (Geometry{100, 110, 200, 60, false, false}));

  // Closed maximized or minimized: the flag is kept with the place and size the user gave the
  // window last in that run (not those it began the run with), which it comes back to.
  for (const int state : {PROP::Maximize, PROP::Iconize}) {
    for (const Geometry& moved : {Geometry{30, 40, 600, 400, false, false}, Geometry{-5, 60, 500, 300, false, false}}) {
      rt::Window* w = rt::OpenWindow(kMain);
      ini.Fetch("Main", *w);
      // Restored (from the state it reopened in), then moved and sized.
      w->SetProp(0, PROP::Maximize, 0);
      w->SetProp(0, PROP::Iconize, 0);
      SetGeometry(*w, moved);
      w->SetProp(0, state, 1);
      for (int prop : {PROP::Xpos, PROP::Ypos}) w->NoteFromScreen(0, prop, "0");
      w->NoteFromScreen(0, PROP::Width, "1920");
      w->NoteFromScreen(0, PROP::Height, "1080");
      EXPECT_TRUE(ini.Update("Main", *w));
      rt::CloseWindow(*w);
      Geometry expected = moved;
      expected.maximized = state == PROP::Maximize;
      expected.minimized = state == PROP::Iconize;
      EXPECT_EQ(Reopened(kMain, "Main"), expected);
    }
  }
}

TEST_F(WindowGeometry, DoubtfulSettingsLeaveTheDesignedPlace) {
  struct Case {
    const char* what;
    const char* section;
    Geometry expected;
  } cases[] = {
      {"no Maximize", "XPos=1\nYPos=2\nWidth=300\nHeight=200\n", {10, 20, 348, 239, false, false}},
      {"Maximize neither Yes nor No", "Maximize=1\nXPos=1\nYPos=2\n", {10, 20, 348, 239, false, false}},
      {"garbage numbers", "Maximize=No\nXPos=12abc\nYPos=2\nWidth=-300\nHeight=200\n", {10, 20, 348, 239, false, false}},
      {"out of range", "Maximize=No\nXPos=99999999999\nYPos=2\nWidth=300\nHeight=0\n", {10, 20, 348, 239, false, false}},
      {"position only", "Maximize=No\nXPos=1\nYPos=2\nWidth=x\n", {1, 2, 348, 239, false, false}},
      {"size only, maximized", "Maximize=Yes\nWidth=300\nHeight=200\n", {10, 20, 300, 200, true, false}},
  };
  for (const Case& c : cases) {
    std::ofstream(file, std::ios::binary) << "[Main]\n" << c.section;
    EXPECT_EQ(Reopened(kMain, "Main"), c.expected) << c.what;
  }
  std::ofstream(file, std::ios::binary) << "[RenameCab]\nMaximize=No\nXPos=1\nYPos=2\nWidth=900\nHeight=900\n";
  EXPECT_EQ(Reopened(kRename, "RenameCab"), (Geometry{1, 2, 200, 60, false, false})) << "fixed size stays fixed";
}

TEST_F(WindowGeometry, SavingKeepsTheRestOfTheFile) {
  std::ofstream(file, std::ios::binary) << "[Preserved]\r\nGLO:MIDIInDevice=2\r\n; note\r\n[Main]\r\nXPos=3\r\n";
  ClosedAt(kMain, "Main", {7, 8, 400, 250, false, false});
  EXPECT_EQ(FileText(),
            "[Preserved]\r\nGLO:MIDIInDevice=2\r\n; note\r\n[Main]\r\nXPos=7\r\nMaximize=No\r\nMinimize=No\r\n"
            "YPos=8\r\nWidth=400\r\nHeight=250\r\n");
}

}  // namespace
