#pragma once
// Toolkit tracing follows the command-line switches: "/debug" for errors, failed
// bindings and the alert traces, and the finer switches named where they are used.

// "/debug" is on the command line.
bool kx_Tracing();
// The named switch (such as "/debugWinAlert") is on the command line.
bool kx_Switch(const char* name);
