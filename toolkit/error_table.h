#pragma once
// The fixed texts of the toolkit's own error codes 0xA0000001..0xA0000058.
#include "platform/win/types.h"

inline constexpr const char* HOOKWATCH_UNKNOWN_ERROR = "Unknown Hookwatch error code";

// The table text of a code; the unknown-code text when the table has no such row.
const char* kx_ErrorTableText(LONG code);
