#include "toolkit/current_window.h"

#include "platform/rt/event_loop.h"
#include "platform/rt/props.h"
#include "platform/rt/system.h"

std::optional<kx_WindowHandles> kx_CurrentWindowHandles() {
  if (rt::SystemProp(PROP::Target) == 0) return std::nullopt;
  rt::Window* window = rt::TargetWindow();
  if (window == nullptr) return std::nullopt;
  return kx_WindowHandles{window->Frame(), window->Client()};
}
