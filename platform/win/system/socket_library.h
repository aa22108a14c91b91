#pragma once
// The socket library's host-name services ("wsock32").

#include "platform/win/modules/library.h"

inline constexpr int SOCKET_ERROR = -1;

using gethostnameProc = int (*)(char* name, int length);
using WSAGetLastErrorProc = int (*)();

namespace win {
LibraryExports SocketLibraryExports();
}
