#pragma once
// GetModuleFileNameA: the full path of the running program's own file.
#include "platform/win/library.h"

// module must be 0 (the program itself); any other gives 0 and ERROR_MOD_NOT_FOUND.
// The path is copied NUL-terminated and its length returned; a buffer too small receives
// size - 1 characters and a NUL, and the result is `size` with ERROR_INSUFFICIENT_BUFFER.
DWORD GetModuleFileNameA(HMODULE module, char* fileName, DWORD size);
