#pragma once
// RUN: starts a program from a command line and does not wait for it. The line is split into
// the program and its arguments by the quoting rules of platform/win/shell/command_line.h, and no
// shell sees it. Returns 0 when the program started, else an error code (2: no such program,
// 5: not allowed, 8: out of memory), which is also ERRORCODE().
#include <string_view>

int RUN(std::string_view commandLine);
