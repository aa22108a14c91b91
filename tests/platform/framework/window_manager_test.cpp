#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/framework/error_class.h"
#include "platform/framework/toolbar.h"
#include "platform/framework/window_manager.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/events.h"
#include "platform/rt/post.h"
#include "platform/rt/props.h"
#include "platform/win/windows/messages.h"
#include "platform/win/windows/window.h"

namespace {

constexpr int kOkButton = 1;
constexpr int kList = 2;

const rt::WindowDef kDialog{
    .label = "P19$WINDOW",
    .caption = "Dialog",
    .at = {0, 0, 200, 100},
    .modal = true,
    .controls = {{.feq = kOkButton, .equate = "OKBUTTON", .kind = rt::Kind::Button, .text = "&OK"},
                 {.feq = kList, .equate = "LIST", .kind = rt::Kind::List}},
};

// A window written the way the program writes its own: every override calls the parent
// first, records what it saw, and may answer with a chosen level.
class RecordingWindow : public WindowManager {
 public:
  RecordingWindow(std::string name, ErrorClass& errors) : name_(std::move(name)), errors_(errors) {}

  int Init() override {
    errors_.SetProcedureName(name_);
    Request = GlobalRequest;
    int level = WindowManager::Init();
    AddItem(toolbar_);
    GlobalRequest = 0;
    GlobalResponse = 0;
    Open(kDialog);
    Log("Init");
    return level;
  }
  int Kill() override {
    Log("Kill opened=" + std::to_string(Opened) + " window=" + std::to_string(Window() != nullptr));
    int level = WindowManager::Kill();
    errors_.SetProcedureName();
    return level;
  }
  int TakeEvent() override {
    int level = WindowManager::TakeEvent();
    if (level == Level::Benign && EVENT() >= EVENT::User) Log("User " + std::to_string(EVENT() - EVENT::User));
    return level;
  }
  int TakeWindowEvent() override {
    int level = WindowManager::TakeWindowEvent();
    Log("Window " + std::to_string(EVENT()));
    if (EVENT() == EVENT::OpenWindow && onOpen) onOpen();
    return Answer(level, "Window");
  }
  int TakeAccepted() override {
    int level = WindowManager::TakeAccepted();
    Log("Accepted " + std::to_string(FIELD()));
    if (onAccepted) onAccepted();
    return Answer(level, "Accepted");
  }
  int TakeNewSelection() override {
    int level = WindowManager::TakeNewSelection();
    Log("NewSelection " + std::to_string(FIELD()));
    return Answer(level, "NewSelection");
  }
  int TakeFieldEvent() override {
    int level = WindowManager::TakeFieldEvent();
    Log("Field " + std::to_string(EVENT()) + " " + std::to_string(FIELD()));
    return Answer(level, "Field");
  }

  // The level a handler answers with, once, for the given event.
  void AnswerOnce(std::string handler, int event, int level) { answers_.push_back({std::move(handler), event, level}); }

  std::function<void()> onOpen;
  std::function<void()> onAccepted;
  std::vector<std::string> log;

 private:
  struct Planned {
    std::string handler;
    int event;
    int level;
  };
  void Log(const std::string& line) { log.push_back(line); }
  int Answer(int level, const std::string& handler) {
    for (auto it = answers_.begin(); it != answers_.end(); ++it) {
      if (it->handler == handler && it->event == EVENT()) {
        level = it->level;
        answers_.erase(it);
        break;
      }
    }
    return level;
  }

  std::string name_;
  ErrorClass& errors_;
  ToolbarClass toolbar_;
  std::vector<Planned> answers_;
};

void PostClose(rt::Window* w) { PostMessageA(w->Frame(), WM_CLOSE, 0, 0); }

class Windows : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::AnnounceControlKinds({rt::Kind::Button, rt::Kind::List});
    errors.Init(status);
    GlobalRequest = GlobalResponse = VCRRequest = 0;
  }
  void TearDown() override { EXPECT_EQ(rt::TopWindow(), nullptr) << "every window closed"; }
  ErrorStatusClass status;
  ErrorClass errors;
};

TEST_F(Windows, RunDispatchesEveryEventToItsHandlerAndKillsWithTheWindowStillOpen) {
  RecordingWindow w("RenameCab", errors);
  w.onOpen = [&] {
    EXPECT_EQ(errors.GetProcedureName(), "RenameCab");
    POST(EVENT::Accepted, kOkButton);
    POST(EVENT::NewSelection, kList);
    POST(EVENT::Drop, kList);
    POST(EVENT::User + 50);
    PostClose(w.Window());
  };
  w.Run();
  EXPECT_EQ(w.log, (std::vector<std::string>{
                       "Init",
                       "Window " + std::to_string(EVENT::OpenWindow),
                       "Accepted 1",
                       "Field 1 1",
                       "NewSelection 2",
                       "Field 2 2",
                       "Field 19 2",
                       "Window 1074",
                       "User 50",
                       "Window " + std::to_string(EVENT::CloseWindow),
                       "Kill opened=1 window=1",
                   }));
  EXPECT_EQ(errors.GetProcedureName(), "") << "the name is popped again";
}

TEST_F(Windows, LevelsDecideWhatHappensNext) {
  struct Case {
    const char* what;
    const char* handler;
    int event;
    int level;
    std::vector<std::string> tail;  // what the log holds after the planned answer
  } cases[] = {
      {"consumed Accepted skips the field handler", "Accepted", EVENT::Accepted, Level::Notify,
       {"Accepted 1", "NewSelection 2", "Field 2 2", "Window 513", "Kill opened=1 window=1"}},
      {"Fatal leaves the loop at once", "Accepted", EVENT::Accepted, Level::Fatal,
       {"Accepted 1", "Kill opened=1 window=1"}},
      {"a consumed CloseWindow keeps the window open", "Window", EVENT::CloseWindow, Level::Notify,
       {"Accepted 1", "Field 1 1", "NewSelection 2", "Field 2 2", "Window 513", "Window 513", "Kill opened=1 window=1"}},
  };
  for (const Case& c : cases) {
    RecordingWindow w("Main", errors);
    w.AnswerOnce(c.handler, c.event, c.level);
    w.onOpen = [&] {
      if (c.event == EVENT::CloseWindow) PostClose(w.Window());
      POST(EVENT::Accepted, kOkButton);
      POST(EVENT::NewSelection, kList);
      PostClose(w.Window());
    };
    w.Run();
    std::vector<std::string> tail(w.log.begin() + 2, w.log.end());
    EXPECT_EQ(tail, c.tail) << c.what;
  }
}

TEST_F(Windows, AModalWindowRunsInsideItsCallersLoop) {
  RecordingWindow main("Main", errors);
  RecordingWindow about("AboutWindow", errors);
  main.onOpen = [&] { POST(EVENT::Accepted, kOkButton); };
  main.onAccepted = [&] {
    // Both arrive while the modal window is up; the caller sees them only afterwards.
    POST(EVENT::User + 1);
    PostClose(main.Window());
    GlobalRequest = 7;
    about.onOpen = [&] {
      EXPECT_EQ(errors.GetProcedureName(), "AboutWindow");
      EXPECT_EQ(rt::TopWindow(), about.Window());
      POST(EVENT::Accepted, kList);
      PostClose(about.Window());
    };
    about.onAccepted = [&] { about.Response = RequestCompleted; };
    EXPECT_EQ(about.Run(), RequestCompleted);
    EXPECT_EQ(about.Request, 7);
    EXPECT_EQ(GlobalResponse, RequestCompleted);
    EXPECT_EQ(about.Window(), nullptr) << "closed when its run ended";
    EXPECT_EQ(errors.GetProcedureName(), "Main");
    EXPECT_EQ(EVENT(), EVENT::Accepted) << "the caller's event is current again";
    EXPECT_EQ(FIELD(), kOkButton);
  };
  EXPECT_EQ(main.Run(), RequestCancelled);
  EXPECT_EQ(about.log, (std::vector<std::string>{"Init", "Window 515", "Accepted 2", "Field 1 2", "Window 513",
                                                 "Kill opened=1 window=1"}));
  EXPECT_EQ(main.log, (std::vector<std::string>{"Init", "Window 515", "Accepted 1", "Field 1 1", "Window 1025",
                                                "User 1", "Window 513", "Kill opened=1 window=1"}));
}

TEST_F(Windows, KillRunsOnceAndAWindowThatCannotOpenSkipsItsLoop) {
  RecordingWindow w("Main", errors);
  w.onOpen = [&] { PostClose(w.Window()); };
  w.Run();
  EXPECT_EQ(w.Kill(), Level::Notify) << "a second Kill does nothing";

  struct Unopenable : WindowManager {
    int Init() override {
      int level = WindowManager::Init();
      Open(def);
      return level;
    }
    rt::WindowDef def{.controls = {{.feq = 2, .equate = "WRONG", .kind = rt::Kind::Button}}};
  } broken;
  EXPECT_EQ(broken.Run(), RequestCancelled);
  EXPECT_FALSE(broken.Opened);
}

TEST_F(Windows, AControllerThatGoesAwayClosesItsWindow) {
  {
    RecordingWindow w("Main", errors);
    w.Init();
    ASSERT_NE(rt::TopWindow(), nullptr);
  }
  EXPECT_EQ(rt::TopWindow(), nullptr);
}

}  // namespace
