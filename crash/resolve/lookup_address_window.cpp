// The address look-up window ("Lookup Address Utility"): the user types an address (any
// expression EVALUATE reads, such as "0414A98h"), and the window shows what the debug records
// say of it. Nothing in the program opens it; it is there for a developer with a report.
#include <cstdlib>
#include <string>

#include "crash/faultscribe.h"
#include "platform/rt/display.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/events.h"
#include "platform/rt/post.h"
#include "platform/rt/evaluate.h"
#include "platform/rt/window_def.h"

namespace {

namespace ctl {
inline constexpr int ADDRESS = 1;
inline constexpr int EXAMPLE = 2;
inline constexpr int LOOKUP = 3;
inline constexpr int RESULT = 4;
inline constexpr int CLOSE = 5;
}  // namespace ctl

rt::WindowDef LookupAddressDef(std::string& address, std::string& result) {
  using rt::Kind;
  rt::WindowDef def{.label = "LookupAddressWindow", .caption = "Lookup Address Utility",
                    .font = {.name = "Tahoma", .size = 8}, .at = {0, 0, 300, 92}, .centered = true};
  def.controls = {
      {.feq = ctl::ADDRESS, .equate = "LOC:ADDRESS", .kind = Kind::Entry, .at = {8, 8, 140, 12}, .use = address,
       .chars = 255},
      {.feq = ctl::EXAMPLE, .equate = "PROMPT1", .kind = Kind::Prompt, .text = "example (0414A98h)",
       .at = {154, 10, 138, 10}},
      {.feq = ctl::LOOKUP, .equate = "LOOKUPBUTTON", .kind = Kind::Button, .text = "&Lookup Address",
       .at = {8, 26, 80, 16}, .defaultButton = true},
      {.feq = ctl::RESULT, .equate = "LOC:RESULT", .kind = Kind::Entry, .at = {8, 48, 284, 12}, .use = result,
       .chars = 255, .readOnly = true},
      {.feq = ctl::CLOSE, .equate = "CLOSEBUTTON", .kind = Kind::Button, .text = "&Close", .at = {242, 72, 50, 16}},
  };
  return def;
}

}  // namespace

void FaultscribeClass::LookupAddress() {
  std::string address, result;
  rt::Window* window = rt::OpenWindow(LookupAddressDef(address, result));
  if (window == nullptr) return;
  while (rt::Accept(*window)) {
    if (EVENT() != EVENT::Accepted) continue;
    if (FIELD() == ctl::CLOSE) {
      POST(EVENT::CloseWindow);
      continue;
    }
    if (FIELD() != ctl::LOOKUP) continue;
    UPDATE();
    std::string value = EVALUATE(address);
    // A value that is not a whole, non-negative number is no address: it lies in no module.
    char* end = nullptr;
    unsigned long long number = value.empty() ? 0 : std::strtoull(value.c_str(), &end, 10);
    bool whole = !value.empty() && value[0] != '-' && end != nullptr && *end == '\0';
    result = std::string(_GetSymbol(whole ? static_cast<ULONG_PTR>(number) : 0, 1).View());
    DISPLAY(ctl::RESULT);
  }
  rt::CloseWindow(*window);
}
