#include "toolkit/error_state.h"

#include "platform/win/system/format_message.h"
#include "platform/win/system/last_error.h"
#include "toolkit/clip.h"
#include "toolkit/error_table.h"
#include "toolkit/error_trace.h"
#include "toolkit/tracing.h"

namespace {

constexpr size_t kTextLimit = 255;
constexpr DWORD kSystemTextBuffer = 255;

thread_local HookwatchErrorState tState;

// FormatMessageA into the fixed buffer the toolkit always used; the count it gives.
DWORD SystemText(DWORD code, char (&buffer)[kSystemTextBuffer]) {
  return FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, 0, buffer, kSystemTextBuffer, nullptr);
}

std::string TextWithSuffix(LONG code, std::string_view suffix) {
  if (code == 0) return {};
  std::string text;
  if (static_cast<ULONG>(code) & HOOKWATCH_CODE_BIT) {
    text = kx_ErrorTableText(code);
  } else {
    char buffer[kSystemTextBuffer];
    DWORD n = SystemText(static_cast<DWORD>(code), buffer);
    text = n >= 1 && n <= kSystemTextBuffer - 1 ? std::string(buffer, n) : HOOKWATCH_UNKNOWN_ERROR;
  }
  return text.append(Clip(suffix));
}

}  // namespace

void kx_ErrorReset() {
  tState.HOOKWATCHERRORCODE = 0;
  tState.HOOKWATCHEXTENDEDERR.clear();
}

void kx_ErrorReset(std::string_view procName) {
  kx_ErrorReset();
  tState.HOOKWATCHERRPROC = procName.substr(0, kTextLimit);
}

LONG kx_ErrorSet(LONG code) {
  tState.HOOKWATCHERRORCODE = code;
  if (kx_Tracing()) kx_HandErrorToTracer(kx_Error());
  return code;
}

LONG kx_ErrorSet(LONG code, std::string_view extendedText) {
  tState.HOOKWATCHEXTENDEDERR = extendedText.substr(0, kTextLimit);
  return kx_ErrorSet(code);
}

std::string kx_WinError() {
  char buffer[kSystemTextBuffer];
  DWORD n = SystemText(GetLastError(), buffer);
  if (n <= 2) return {};
  if (buffer[n - 2] == '\r' && buffer[n - 1] == '\n') n -= 2;
  return std::string(buffer, n);
}

std::string kx_Error() {
  std::string suffix = ", ";
  suffix.append(Clip(tState.HOOKWATCHEXTENDEDERR)).append(", ").append(tState.HOOKWATCHERRPROC);
  return TextWithSuffix(tState.HOOKWATCHERRORCODE, suffix);
}

std::string kx_Error(LONG code) { return TextWithSuffix(code, {}); }

const HookwatchErrorState& kx_ThreadErrorState() { return tState; }
