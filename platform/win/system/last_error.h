#pragma once
// The per-thread "last error" of the platform's system calls.
#include "platform/win/types.h"

DWORD GetLastError();
void SetLastError(DWORD code);

// Maps an errno value to the stable error code the platform reports for it: the
// classic Windows number where one exists, else 0x10000 + errno (never with bit 0x20000000,
// which marks application-defined codes).
DWORD ErrorCodeFromErrno(int err);
// Sets the last error from errno (or the given value) and returns the code.
DWORD SetLastErrorFromErrno(int err);
