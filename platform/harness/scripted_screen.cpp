#include "platform/harness/scripted_screen.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "platform/harness/json_text.h"
#include "platform/harness/pointer_placing.h"
#include "platform/harness/window_dump.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/settle.h"
#include "platform/rt/thread_state.h"
#include "platform/rt/use.h"
#include "platform/rt/user_action.h"
#include "platform/win/system/ascii_text.h"

namespace harness {

// The harness drives the runtime from outside, through its own calls.
using namespace rt;
namespace {

constexpr std::int64_t kWaitStep = 10;     // hundredths between settles during a wait
constexpr int kMostClosesAfterEnd = 100;   // a program that will not end is an error

std::string Plain(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c != '&') out += win::LowerByte(c);
  }
  return out;
}

bool IsRow(const ScriptToken& token) {
  return !token.quoted && !token.text.empty() && token.text.size() < 9 &&
         std::all_of(token.text.begin(), token.text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

ScriptedScreen::ScriptedScreen(std::unique_ptr<std::istream> script, std::unique_ptr<std::ostream> transcript,
                               std::shared_ptr<DrivenClock> clock)
    : script_(std::move(script)),
      ownTranscript_(std::move(transcript)),
      transcript_(ownTranscript_ ? ownTranscript_.get() : &std::cout),
      clock_(std::move(clock)),
      previousClock_(UseClock(clock_)) {}

ScriptedScreen::~ScriptedScreen() {
  transcript_->flush();
  UseClock(previousClock_);
}

std::unique_ptr<ScriptedScreen> ScriptedScreen::FromEnvironment() {
  const char* scriptPath = std::getenv("BOXWRIGHT_SCRIPT");
  const char* transcriptPath = std::getenv("BOXWRIGHT_TRANSCRIPT");
  const char* resume = std::getenv("BOXWRIGHT_SCRIPT_RESUME");
  ScriptResume resumeFrom{0, 0};
  if (resume && (std::sscanf(resume, "%d,%d", &resumeFrom.answersFrom, &resumeFrom.after) != 2 ||
                 resumeFrom.answersFrom < 1 || resumeFrom.after < 0)) {
    resumeFrom = {0, 0};
  }
  std::unique_ptr<std::ostream> transcript;
  if (transcriptPath && *transcriptPath) {
    transcript = std::make_unique<std::ofstream>(transcriptPath, resumeFrom.answersFrom > 0 ? std::ios::app : std::ios::trunc);
  }
  auto script = std::make_unique<std::ifstream>(scriptPath ? scriptPath : "");
  std::string startError;
  if (!scriptPath || !*scriptPath) {
    startError = "BOXWRIGHT_SCRIPT names no script";
  } else if (!*script) {
    startError = std::string("cannot read the script ") + scriptPath;
  }
  auto screen = std::make_unique<ScriptedScreen>(std::move(script), std::move(transcript));
  screen->startError_ = startError;
  screen->resumeFrom_ = resumeFrom;
  if (startError.empty()) {
    if (resumeFrom.answersFrom > 0) screen->ReadResumedLines();
    screen->PublishResume();
  }
  return screen;
}

void ScriptedScreen::Write(const std::string& line) {
  *transcript_ << line << '\n';
  transcript_->flush();
}

void ScriptedScreen::Fail(const std::string& why) {
  Write(json::Object({{"error", json::Quote(line_ > 0 ? "line " + std::to_string(line_) + ": " + why : why)}}));
  // Ends at once: the run is void, and back-end threads still running must not turn the
  // status into a crash while the process's objects are torn down.
  std::fflush(nullptr);
  std::_Exit(2);
}

void ScriptedScreen::Wait(std::chrono::milliseconds) {
  if (!startError_.empty()) Fail(startError_);
  Settle();
  if (detail::HasWork()) return;
  if (waitLeft_ > 0) {
    std::int64_t step = std::min(waitLeft_, kWaitStep);
    clock_->Advance(step);
    waitLeft_ -= step;
    return;
  }
  std::string text;
  while (std::getline(*script_, text)) {
    ++line_;
    auto tokens = SplitScriptLine(text);
    if (!tokens) Fail("a quoted text is not closed");
    if (tokens->empty()) continue;
    bool answer = (*tokens)[0].text == "answer";
    CarryOut(*tokens);
    PublishResume();
    if (!answer) return;
  }
  // The script is over: the user closes the windows.
  Window* top = user::ActiveWindow();
  if (top == nullptr) return;
  if (++closesAfterEnd_ > kMostClosesAfterEnd) Fail("the program did not end after the script");
  user::Close(*top);
}

void ScriptedScreen::CarryOut(const std::vector<ScriptToken>& tokens) {
  const std::string& verb = tokens[0].text;
  auto argumentCount = [&](std::size_t count) {
    if (tokens.size() != count + 1) Fail("\"" + verb + "\" takes " + std::to_string(count) + " argument(s)");
  };
  if (verb == "answer") {
    if (tokens.size() < 2) Fail("\"answer\" needs a dialog kind");
    const std::string& kind = tokens[1].text;
    if (kind == "cancel") {
      argumentCount(1);
    } else if (kind == "popup" || kind == "message" || kind == "open" || kind == "save") {
      argumentCount(2);
      if (!tokens[2].quoted) Fail("the answer must be a quoted text");
    } else {
      Fail("unknown dialog kind \"" + kind + "\"");
    }
    answers_.push_back({kind, kind == "cancel" ? std::string() : tokens[2].text, line_});
    return;
  }
  if (verb == "wait") {
    argumentCount(1);
    const std::string& text = tokens[1].text;
    bool number = !tokens[1].quoted && !text.empty() && text.find_first_not_of("0123456789.") == std::string::npos &&
                  std::count(text.begin(), text.end(), '.') <= 1 && text != ".";
    double seconds = number ? TextToReal(text) : -1;
    if (seconds < 0 || seconds > 86400) Fail("\"wait\" takes a number of seconds, at most a day");
    waitLeft_ = static_cast<std::int64_t>(std::llround(seconds * 100));
    return;
  }
  if (verb == "dump") {
    argumentCount(0);
    Write(json::Object({{"dump", DumpWindows(OpenWindows())}}));
    return;
  }
  Window* top = user::ActiveWindow();
  if (top == nullptr) Fail("no window is open");
  if (verb == "close") {
    argumentCount(0);
    user::Close(*top);
    return;
  }
  if (verb == "leave") {
    argumentCount(0);
    user::PointerLeft(*top);
    return;
  }
  if (tokens.size() < 2 || tokens[1].quoted) Fail("\"" + verb + "\" needs a control");
  // Controls go by equate; one created while the window is open, by its number.
  int field = IsRow(tokens[1]) ? std::atoi(tokens[1].text.c_str()) : top->FieldOf(tokens[1].text);
  if (field == 0 || !top->IsField(field)) Fail("unknown control " + tokens[1].text + " in \"" + top->Def().caption + "\"");
  auto number = [&](std::size_t at, const char* what) {
    if (!IsRow(tokens[at])) Fail("\"" + verb + "\" takes a " + what + " number");
    return std::atoi(tokens[at].text.c_str());
  };
  std::string refused;
  if (verb == "select" || verb == "rightclick" || verb == "doubleclick") {
    if (tokens.size() != 3 && tokens.size() != 4) Fail("\"" + verb + "\" takes a row and maybe a column");
    int row = number(2, "row");
    int column = tokens.size() == 4 ? number(3, "column") : 0;
    refused = verb == "select"       ? user::Select(*top, field, row, column)
              : verb == "rightclick" ? user::RightClick(*top, field, row, column)
                                     : user::DoubleClick(*top, field, row, column);
  } else if (verb == "press") {
    argumentCount(1);
    refused = user::Press(*top, field);
  } else if (verb == "set" || verb == "drop") {
    argumentCount(2);
    if (!tokens[2].quoted) Fail("\"" + verb + "\" takes a quoted text");
    refused = verb == "set" ? user::Type(*top, field, tokens[2].text) : user::DropFiles(*top, field, {tokens[2].text});
  } else if (verb == "hover") {
    if (tokens.size() > 4) Fail("\"hover\" takes a control and maybe a row and a column");
    int row = tokens.size() >= 3 ? number(2, "row") : 0;
    int column = tokens.size() == 4 ? number(3, "column") : 0;
    refused = Hover(*top, field, row, column);
  } else if (verb == "click") {
    argumentCount(1);
    // A user's click happens where the pointer is: it moves onto the control first, and a
    // region laid over the control takes the click.
    refused = Hover(*top, field, 0, 0);
    const int over = top->Hovered();
    if (over != 0 && top->Control(over).kind == Kind::Region) field = over;
    if (refused.empty()) refused = user::Click(*top, field);
  } else if (verb == "movecolumn") {
    argumentCount(3);
    refused = user::MoveColumn(*top, field, number(2, "column"), number(3, "column"));
  } else {
    Fail("unknown action \"" + verb + "\"");
  }
  if (!refused.empty()) Fail(refused);
}

std::string ScriptedScreen::Hover(Window& w, int field, int row, int column) {
  Pointer at;
  std::string refused = PointerOver(w, field, row, column, at);
  if (refused.empty()) user::PointerMoved(w, at);
  return refused;
}

ScriptedScreen::Answer ScriptedScreen::TakeAnswer(const std::string& dialog) {
  if (answers_.empty()) Fail("no answer for the " + dialog);
  Answer answer = answers_.front();
  answers_.pop_front();
  PublishResume();
  return answer;
}

void ScriptedScreen::ReadResumedLines() {
  // The answers the other process had read but not used are waiting again; everything
  // else it carried out is not done twice. The answers that come next are read at once, as
  // they would be with the next action: the process that takes over may ask at once.
  std::string text;
  while (line_ < resumeFrom_.after && std::getline(*script_, text)) {
    ++line_;
    auto tokens = SplitScriptLine(text);
    if (tokens && !tokens->empty() && (*tokens)[0].text == "answer" && line_ >= resumeFrom_.answersFrom) CarryOut(*tokens);
  }
  for (;;) {
    std::streampos before = script_->tellg();
    if (!std::getline(*script_, text)) break;
    auto tokens = SplitScriptLine(text);
    bool answer = tokens && !tokens->empty() && (*tokens)[0].text == "answer";
    bool blank = tokens && tokens->empty();
    if (!answer && !blank) {
      script_->clear();
      script_->seekg(before);
      break;
    }
    ++line_;
    if (answer) CarryOut(*tokens);
  }
}

void ScriptedScreen::PublishResume() const {
  rt::PublishScriptResume({answers_.empty() ? line_ + 1 : answers_.front().line, line_});
}

int ScriptedScreen::Message(const MessageRequest& request) {
  Answer answer = TakeAnswer("message \"" + request.caption + "\"");
  std::string wanted = answer.kind == "cancel" ? "cancel" : Plain(answer.text);
  if (answer.kind != "message" && answer.kind != "cancel") Fail("the message \"" + request.caption + "\" got an answer for a " + answer.kind + " dialog");
  auto at = std::find_if(request.buttons.begin(), request.buttons.end(),
                         [&](const std::string& button) { return Plain(button) == wanted; });
  if (at == request.buttons.end()) Fail("the message \"" + request.caption + "\" has no button \"" + (answer.kind == "cancel" ? "Cancel" : answer.text) + "\"");
  Write(json::Object({{"message", json::Object({{"caption", json::Quote(request.caption)},
                                                {"text", json::Quote(request.text)},
                                                {"icon", json::Quote(request.icon)},
                                                {"buttons", json::Array(request.buttons)},
                                                {"answer", json::Quote(*at)}})}}));
  return static_cast<int>(at - request.buttons.begin()) + 1;
}

std::optional<std::string> ScriptedScreen::ChooseFile(const FileRequest& request) {
  std::string kind = request.kind == FileRequest::Kind::Open ? "open" : "save";
  Answer answer = TakeAnswer(kind + " dialog \"" + request.title + "\"");
  std::optional<std::string> chosen;
  if (answer.kind != "cancel") {
    if (answer.kind != kind) Fail("the " + kind + " dialog \"" + request.title + "\" got an answer for a " + answer.kind + " dialog");
    std::filesystem::path path(answer.text);
    // As in the real dialog, anything that exists but a folder (which it would open) can be chosen.
    if (request.kind == FileRequest::Kind::Open && request.mustExist &&
        (!std::filesystem::exists(path) || std::filesystem::is_directory(path))) {
      Fail("the file to open does not exist: " + answer.text);
    }
    if (request.kind == FileRequest::Kind::Save && !request.defaultExtension.empty() && !path.has_extension()) {
      path += "." + request.defaultExtension;
    }
    chosen = path.string();
  }
  Write(json::Object({{"file", json::Object({{"kind", json::Quote(kind)},
                                             {"title", json::Quote(request.title)},
                                             {"answer", chosen ? json::Quote(*chosen) : "null"}})}}));
  return chosen;
}

int ScriptedScreen::Popup(const PopupRequest& request) {
  Answer answer = TakeAnswer("popup menu");
  int chosen = 0;
  std::string chosenText;
  if (answer.kind != "cancel") {
    if (answer.kind != "popup") Fail("the popup menu got an answer for a " + answer.kind + " dialog");
    int number = 0;
    for (const auto& entry : request.entries) {
      if (entry == "-") continue;
      ++number;
      if (entry == answer.text) {
        chosen = number;
        chosenText = entry;
        break;
      }
    }
    if (chosen == 0) Fail("the popup menu has no entry \"" + answer.text + "\"");
  }
  Write(json::Object({{"popup", json::Object({{"entries", json::Array(request.entries)},
                                              {"answer", chosen ? json::Quote(chosenText) : "null"}})}}));
  return chosen;
}

void ScriptedScreen::Beep() { Write(json::Object({{"beep", "true"}})); }

}  // namespace harness
