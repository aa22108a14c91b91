#include "toolkit/session_hooks.h"

#include <atomic>

#include "toolkit/error_state.h"

namespace {
std::atomic<kx_SessionHook> OkToEndSessionHandler{nullptr};
std::atomic<kx_SessionHook> EndSessionHandler{nullptr};
}  // namespace

kx_SessionHook kx_SetOkToEndSessionHandler(kx_SessionHook pCallbackAddress) {
  kx_ErrorReset("kx_SetOkToEndSessionHandler");
  return OkToEndSessionHandler.exchange(pCallbackAddress);
}

kx_SessionHook kx_SetEndSessionHandler(kx_SessionHook pCallbackAddress) {
  kx_ErrorReset("kx_SetEndSessionHandler");
  return EndSessionHandler.exchange(pCallbackAddress);
}

kx_SessionHook kx_OkToEndSessionHandler() { return OkToEndSessionHandler.load(); }
kx_SessionHook kx_EndSessionHandler() { return EndSessionHandler.load(); }
