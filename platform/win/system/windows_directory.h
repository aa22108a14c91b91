#pragma once
// GetWindowsDirectoryA: the folder that holds the system. On Linux that is the root, "/",
// which has no drive letter.
#include "platform/win/types.h"

// Copies the folder NUL-terminated and returns its length; a buffer too small receives
// nothing and the size needed (NUL included) is returned.
UINT GetWindowsDirectoryA(char* buffer, UINT size);
