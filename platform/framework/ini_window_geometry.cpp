// The window-geometry forms of INIClass.
#include <charconv>
#include <optional>

#include "platform/framework/ini_class.h"
#include "platform/framework/ini_document.h"
#include "platform/rt/props.h"
#include "platform/rt/window.h"

namespace {

constexpr std::string_view kYes = "Yes";
constexpr std::string_view kNo = "No";

// A whole number within [low, high], nothing else on the line; anything else is garbage.
std::optional<long long> Number(const std::string& text, long long low, long long high) {
  long long value = 0;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end || text.empty() || value < low || value > high) return std::nullopt;
  return value;
}

// Window places are 16-bit on the platform the files come from.
std::optional<long long> Position(const std::string& text) { return Number(text, -32768, 32767); }
std::optional<long long> Extent(const std::string& text) { return Number(text, 1, 32767); }

}  // namespace

void INIClass::Fetch(std::string_view procedure, rt::Window& window) const {
  const std::string maximize = TryFetch(procedure, "Maximize");
  if (maximize != kYes && maximize != kNo) return;
  auto x = Position(TryFetch(procedure, "XPos"));
  auto y = Position(TryFetch(procedure, "YPos"));
  if (x && y) {
    window.SetProp(0, PROP::Xpos, *x);
    window.SetProp(0, PROP::Ypos, *y);
  }
  auto width = Extent(TryFetch(procedure, "Width"));
  auto height = Extent(TryFetch(procedure, "Height"));
  if (width && height && window.Def().resizable) {
    window.SetProp(0, PROP::Width, *width);
    window.SetProp(0, PROP::Height, *height);
  }
  if (maximize == kYes) window.SetProp(0, PROP::Maximize, 1);
  if (TryFetch(procedure, "Minimize") == kYes) window.SetProp(0, PROP::Iconize, 1);
}

bool INIClass::Update(std::string_view procedure, const rt::Window& window) {
  const bool maximized = window.PropNumber(0, PROP::Maximize) != 0;
  const bool minimized = window.PropNumber(0, PROP::Iconize) != 0;
  // A window closed maximised or minimised keeps the place and size the user last gave it,
  // to come back to them when it is restored.
  const rt::Rect restored = window.Restored();
  return Edit([&](IniDocument& document) {
    bool ok = document.Set(procedure, "Maximize", maximized ? kYes : kNo) &&
              document.Set(procedure, "Minimize", minimized ? kYes : kNo);
    for (auto [key, value] : {std::pair{"XPos", restored.x}, std::pair{"YPos", restored.y},
                              std::pair{"Width", restored.width}, std::pair{"Height", restored.height}}) {
      ok = ok && document.Set(procedure, key, std::to_string(value));
    }
    return ok;
  });
}
