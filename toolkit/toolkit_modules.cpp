#include "toolkit/toolkit_modules.h"

#include "platform/rt/control_kind.h"
#include "toolkit/message_names.h"
#include "toolkit/toolkit_lock.h"

std::vector<rt::Module> kx_ToolkitModules() {
  using rt::Kind;
  auto announce = [](std::vector<Kind> kinds) {
    return [kinds] {
      for (Kind kind : kinds) rt::AnnounceControlKinds({kind});
    };
  };
  auto freeMessageNames = [] {
    ToolkitLockHold hold;
    hw::WM_Q.clear();
    hw::WM_Q.shrink_to_fit();
  };
  return {
      rt::Module{"kx_hwAlert", nullptr, freeMessageNames, nullptr, nullptr},
      rt::Module{"kx_hwComms", announce({Kind::SString, Kind::String}), nullptr, nullptr, nullptr},
      rt::Module{"kx_hwDebug",
                 announce({Kind::Entry, Kind::Button, Kind::Prompt, Kind::Option, Kind::Check, Kind::List,
                           Kind::Radio}),
                 nullptr, nullptr, nullptr},
      rt::Module{"kx_hwTaskbar", announce({Kind::Image, Kind::Box, Kind::Button, Kind::Prompt}), nullptr, nullptr,
                 nullptr},
      rt::Module{"kx_hwWindow", announce({Kind::Image, Kind::Prompt}), nullptr, nullptr, nullptr},
  };
}
