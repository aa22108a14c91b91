#include "platform/harness/screen_choice.h"

#include <cstdlib>
#include <string_view>
#include <utility>

#include "platform/harness/scripted_screen.h"

namespace harness {

ScreenMaker ScreenFromEnvironment(ScreenMaker otherwise) {
  return [otherwise = std::move(otherwise)]() -> std::unique_ptr<rt::Screen> {
    const char* screen = std::getenv("BOXWRIGHT_SCREEN");
    if (screen != nullptr && std::string_view(screen) == "script") return ScriptedScreen::FromEnvironment();
    return otherwise ? otherwise() : nullptr;
  };
}

}  // namespace harness
