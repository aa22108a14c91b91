#pragma once
// GetModuleFileNameA: the full path of a loaded module's file.
#include "platform/win/modules/library.h"

// module 0 is the program itself; any other must be a handle of GetModuleHandleExA (a
// module's base), else the result is 0 with ERROR_MOD_NOT_FOUND. The path is copied
// NUL-terminated and its length returned; a buffer too small receives size - 1 characters and
// a NUL, and the result is `size` with ERROR_INSUFFICIENT_BUFFER. Safe in a signal handler.
DWORD GetModuleFileNameA(HMODULE module, char* fileName, DWORD size);
