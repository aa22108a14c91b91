#pragma once
// The network user name (mpr's WNetGetUserA): on Linux, the login name of the
// process's user from the password database.
#include "platform/win/types.h"

inline constexpr DWORD NO_ERROR = 0;
inline constexpr DWORD ERROR_NO_NETWORK = 1222;

// name: the resource (unused; 0 asks for the current user). Writes the NUL-terminated
// name; a buffer too small gives ERROR_MORE_DATA (234) and the needed length.
DWORD WNetGetUserA(const char* name, char* userName, DWORD* length);
