#pragma once
// Inside the toolkit: the calling thread's current runtime window, as the toolkit uses it.
#include <optional>

#include "platform/win/types.h"

struct kx_WindowHandles {
  HWND frame = nullptr;   // runtime property Handle
  HWND client = nullptr;  // runtime property ClientHandle
};

// The handles of the current target window; nullopt when the thread has none.
std::optional<kx_WindowHandles> kx_CurrentWindowHandles();
