#include "platform/rt/system.h"

#include <atomic>
#include <map>
#include <mutex>

#include "platform/rt/event_loop.h"
#include "platform/rt/fatal_error.h"
#include "platform/rt/props.h"
#include "platform/rt/use.h"

namespace rt {
namespace {
std::mutex gLock;
std::map<int, std::string> gTexts;
std::map<int, LONG_PTR> gCells;
constexpr LONG_PTR kRuntimeVersion = 1100;  // 1.1, with the program it runs
// The hooks are read on the fault path, which must not wait for a lock a faulting thread
// may hold: they live outside the map.
std::atomic<LONG_PTR> gLastChanceHook{0};
std::atomic<LONG_PTR> gMessageHook{0};

std::atomic<LONG_PTR>* HookCell(int prop) {
  if (prop == PROP::LastChanceHook) return &gLastChanceHook;
  if (prop == PROP::MessageHook) return &gMessageHook;
  return nullptr;
}
}  // namespace

LONG_PTR SystemProp(int prop) {
  if (prop == PROP::Target) return reinterpret_cast<LONG_PTR>(TargetWindow());
  if (prop == PROP::ExeVersion) return kRuntimeVersion;
  if (auto* hook = HookCell(prop)) return hook->load();
  std::lock_guard guard(gLock);
  auto cell = gCells.find(prop);
  if (cell != gCells.end()) return cell->second;
  auto text = gTexts.find(prop);
  return text == gTexts.end() ? 0 : static_cast<LONG_PTR>(TextToNumber(text->second));
}

std::string SystemText(int prop) {
  if (prop == PROP::Target || prop == PROP::ExeVersion || HookCell(prop)) return std::to_string(SystemProp(prop));
  std::lock_guard guard(gLock);
  auto text = gTexts.find(prop);
  if (text != gTexts.end()) return text->second;
  auto cell = gCells.find(prop);
  return cell == gCells.end() ? std::string() : std::to_string(cell->second);
}

void SetSystemProp(int prop, LONG_PTR value) {
  if (prop == PROP::Target || prop == PROP::ExeVersion) return;
  if (auto* hook = HookCell(prop)) {
    hook->store(value);
    if (prop == PROP::LastChanceHook && value != 0) detail::CatchEscapingExceptions();
    return;
  }
  std::lock_guard guard(gLock);
  gTexts.erase(prop);
  gCells[prop] = value;
}

void SetSystemText(int prop, std::string_view value) {
  if (prop == PROP::Target || prop == PROP::ExeVersion) return;
  if (HookCell(prop)) return SetSystemProp(prop, static_cast<LONG_PTR>(TextToNumber(value)));
  std::lock_guard guard(gLock);
  gCells.erase(prop);
  gTexts[prop] = std::string(value);
}

}  // namespace rt
