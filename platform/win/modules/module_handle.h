#pragma once
// GetModuleHandleExA: the loaded module (program file or shared library) that holds an
// address. Answers from the module snapshot (module_map.h), so it may run in a signal handler.
#include "platform/win/modules/library.h"

inline constexpr DWORD GET_MODULE_HANDLE_EX_FLAG_PIN = 0x1;
inline constexpr DWORD GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT = 0x2;
inline constexpr DWORD GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS = 0x4;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;

// Only the address form is served: flags must be FROM_ADDRESS with UNCHANGED_REFCOUNT (we
// never count references of modules the loader owns); other flags give FALSE and
// ERROR_INVALID_PARAMETER. An address outside every module gives FALSE, *module 0 and
// ERROR_MOD_NOT_FOUND. The handle is the module's lowest mapped address.
BOOL GetModuleHandleExA(DWORD flags, const char* moduleNameOrAddress, HMODULE* module);
