#pragma once
// The edition and remote-desktop tests and the names of the machine and of its user.
#include <string>

#include "platform/win/types.h"

// The metrics' answers as they come (0 = no); they leave the error state alone.
LONG kx_IsStarter();
LONG kx_IsTablet();
LONG kx_IsMediaCenter();
// 0 on a local console, 1 under a remote desktop, 2 when both remote metrics answer.
LONG kx_IsTerminalServer();

// The host name; failing that the registry's computer name; failing both "0".
std::string kx_GetWorkstationName();
// The user's login name, or empty.
std::string kx_GetUserName();
