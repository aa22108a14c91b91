#pragma once
// The toolkit's per-thread error state: the last error code, its extended text and the
// name of the toolkit procedure last entered. Toolkit procedures reset it on entry and
// report failure through their result and this state, never by an exception.
#include <string>
#include <string_view>

#include "platform/win/types.h"

// Resets the code and the extended text; with a name, also stores it (cut to 255 characters).
void kx_ErrorReset();
void kx_ErrorReset(std::string_view procName);
// Stores the code (with its extended text, cut to 255 characters) and returns it; under
// "/debug" the full error text goes to the trace.
LONG kx_ErrorSet(LONG code);
LONG kx_ErrorSet(LONG code, std::string_view extendedText);
// The system's text for GetLastError(), without its line end; empty when there is none.
std::string kx_WinError();
// The text of the thread's last error with its context (extended text, procedure name).
std::string kx_Error();
// The text of a code: a toolkit code's table text, or the system's text with its line end.
std::string kx_Error(LONG code);

// The thread's state as it stands.
struct HookwatchErrorState {
  LONG HOOKWATCHERRORCODE = 0;
  std::string HOOKWATCHEXTENDEDERR;
  std::string HOOKWATCHERRPROC;
};
const HookwatchErrorState& kx_ThreadErrorState();

// The toolkit's own codes carry the bit that marks application-defined codes.
inline constexpr ULONG HOOKWATCH_CODE_BIT = 0x20000000;
constexpr LONG HookwatchCode(ULONG code) { return static_cast<LONG>(code); }

inline constexpr LONG KX_ERR_STRING2FILE_NONAME = HookwatchCode(0xA0000004);
inline constexpr LONG KX_ERR_STRING2FILE_CREATE = HookwatchCode(0xA0000005);
inline constexpr LONG KX_ERR_STRING2FILE_WRITE = HookwatchCode(0xA0000006);
inline constexpr LONG KX_ERR_STRING2FILE_CLOSE = HookwatchCode(0xA0000007);
inline constexpr LONG KX_ERR_GETFILEVERSIONINFO = HookwatchCode(0xA0000031);
inline constexpr LONG KX_ERR_ADDALERTS = HookwatchCode(0xA0000033);
inline constexpr LONG KX_ERR_CLOSEHANDLE = HookwatchCode(0xA0000034);
inline constexpr LONG KX_ERR_WINACCEPT = HookwatchCode(0xA0000035);
inline constexpr LONG KX_ERR_LOADDLLPROC = HookwatchCode(0xA000003A);
inline constexpr LONG KX_ERR_DELETEFILE = HookwatchCode(0xA000003E);
inline constexpr LONG KX_ERR_GETREG = HookwatchCode(0xA0000045);
inline constexpr LONG KX_ERR_VISIBLEONDESKTOP = HookwatchCode(0xA0000055);
