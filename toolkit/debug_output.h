#pragma once
// The one writer of diagnostic lines. A line goes to the debugger channel, or, when the
// command line names a file with "DebugOutputFile=path", is appended to that file behind a
// time stamp ("hh:mm:ss:c " where c is CLOCK() modulo 100). Each thread writes through a
// handle of its own; a thread whose file cannot be opened writes to the debugger channel.
#include <string_view>

#include "platform/win/types.h"

// The text without trailing blanks, then CR LF when pAddCrLf is non-zero.
void kx_OutputDebugString(std::string_view pDebugString, BYTE pAddCrLf);
