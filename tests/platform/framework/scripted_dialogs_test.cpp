// A window controller answering the user through the runtime's dialogs, played by the
// scripted screen: popup menus with separators, file dialogs, message boxes and a file drop.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/framework/window_manager.h"
#include "platform/rt/clock.h"
#include "platform/rt/dialogs.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/events.h"
#include "platform/rt/props.h"
#include "platform/harness/scripted_screen.h"
#include "tests/platform/test_files.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kMenu =
    "Select On Axe-FX|-|Remove From Favourites|Clear Favourites List|-|Load Favourites From File...|"
    "Save Favourites To File...";
constexpr const char* kFilter = "Cabs List (*.cablist)|*.cablist|All Files (*.*)|*.*";

enum Field { kSheet = 1, kTab, kFavList };

const rt::WindowDef kFavourites{
    .label = "FAVS",
    .caption = "Favourites",
    .controls = {{.feq = kSheet, .equate = "SHEET1", .kind = rt::Kind::Sheet, .dropId = "~FILE"},
                 {.feq = kTab, .equate = "FAVECABSTAB", .kind = rt::Kind::Tab, .parent = kSheet},
                 {.feq = kFavList, .equate = "FAVCABLIST", .kind = rt::Kind::List, .parent = kTab,
                  .alerts = {KEY::MouseRight}}},
};

// What the favourites menu of the main window does with each choice, minus the device.
class FavouritesWindow : public WindowManager {
 public:
  int Init() override {
    int level = WindowManager::Init();
    Open(kFavourites);
    return level;
  }
  int TakeFieldEvent() override {
    int level = WindowManager::TakeFieldEvent();
    if (FIELD() == kFavList && EVENT() == EVENT::AlertKey && KEYCODE() == KEY::MouseRight) TakeMenu();
    if (FIELD() == kSheet && EVENT() == EVENT::Drop) drops.push_back(DROPID());
    return level;
  }

  std::vector<int> chosen;
  std::vector<std::string> files;  // the file name after each dialog
  std::vector<int> answers;
  std::vector<std::string> drops;
  std::string fileName = "start.cablist";

 private:
  void TakeMenu() {
    int entry = POPUP(kMenu);
    chosen.push_back(entry);
    switch (entry) {
      case 3:
        answers.push_back(MESSAGE("Clear all cabs from Favourites list?\r\nThis won't affect anything on the Axe-FX.",
                                  "Confirm Clear Favourites", ICON::Exclamation, BUTTON::Yes | BUTTON::No, BUTTON::No));
        break;
      case 4:
        answers.push_back(FILEDIALOG("Load Favourite Cabs", fileName, kFilter,
                                     FILEDLG::KeepDir | FILEDLG::LongName | FILEDLG::MustExist));
        files.push_back(fileName);
        break;
      case 5:
        answers.push_back(FILEDIALOG("Save Favourite Cabs", fileName, kFilter,
                                     FILEDLG::Save | FILEDLG::KeepDir | FILEDLG::LongName | FILEDLG::OverwritePrompt,
                                     "cablist"));
        files.push_back(fileName);
        break;
      default: break;
    }
  }
};

class ScriptedDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::AnnounceControlKinds({rt::Kind::Sheet, rt::Kind::Tab, rt::Kind::List});
    name = platform_test::TestName();
    previousClock = rt::CurrentClock();
  }
  void TearDown() override {
    rt::UseScreen(nullptr);
    rt::UseClock(previousClock);
    fs::remove(name + ".jsonl");
    fs::remove(name + ".cablist");
  }
  // Runs the window under the script; returns the transcript.
  std::string Play(FavouritesWindow& w, const std::string& script) {
    auto transcript = std::make_unique<std::ofstream>(name + ".jsonl");
    rt::UseScreen(std::make_unique<harness::ScriptedScreen>(std::make_unique<std::istringstream>(script), std::move(transcript)));
    w.Run();
    rt::UseScreen(nullptr);
    return platform_test::FileText(name + ".jsonl");
  }
  std::string name;
  std::shared_ptr<rt::Clock> previousClock;
};

TEST_F(ScriptedDialogs, PopupEntriesCountWithoutSeparatorsAndFileDialogsFillTheName) {
  const std::string existing = name + ".cablist";
  std::ofstream(existing) << '\x03';
  const fs::path before = fs::current_path();
  FavouritesWindow w;
  std::string transcript = Play(w,
                                "answer popup \"Select On Axe-FX\"\n"
                                "rightclick FAVCABLIST 0\n"
                                "answer popup \"Remove From Favourites\"\n"
                                "rightclick FAVCABLIST 0\n"
                                "answer popup \"Clear Favourites List\"\n"
                                "answer message \"No\"\n"
                                "rightclick FAVCABLIST 0\n"
                                "answer popup \"Load Favourites From File...\"\n"
                                "answer open \"" + existing + "\"\n"
                                "rightclick FAVCABLIST 0\n"
                                "answer popup \"Save Favourites To File...\"\n"
                                "answer save \"mine\"\n"
                                "rightclick FAVCABLIST 0\n"
                                "answer popup \"Load Favourites From File...\"\n"
                                "answer cancel\n"
                                "rightclick FAVCABLIST 0\n"
                                "answer cancel\n"
                                "rightclick FAVCABLIST 0\n"
                                "drop SHEET1 \"/cabs/one.syx\"\n");
  EXPECT_EQ(w.chosen, (std::vector<int>{1, 2, 3, 4, 5, 4, 0}));
  EXPECT_EQ(w.answers, (std::vector<int>{BUTTON::No, true, true, false}));
  EXPECT_EQ(w.files, (std::vector<std::string>{existing, "mine.cablist", "mine.cablist"}))
      << "the default extension is added; a cancelled dialog leaves the name";
  EXPECT_EQ(w.drops, (std::vector<std::string>{"/cabs/one.syx"}));
  EXPECT_EQ(fs::current_path(), before) << "the current directory stays";
  EXPECT_NE(transcript.find(R"({"message": {"caption": "Confirm Clear Favourites", )"
                            R"("text": "Clear all cabs from Favourites list?\r\nThis won't affect anything on the Axe-FX.", )"
                            R"("icon": "exclamation", "buttons": ["Yes", "No"], "answer": "No"}})"),
            std::string::npos)
      << transcript;
  EXPECT_NE(transcript.find(R"({"file": {"kind": "open", "title": "Load Favourite Cabs", "answer": null}})"),
            std::string::npos)
      << transcript;
}

}  // namespace
