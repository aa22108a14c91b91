#pragma once
// Where the error state hands each error it records under "/debug": the event tracer's
// line for an error (no window, event or field), that is a blank and the error text.
#include <string_view>

void kx_HandErrorToTracer(std::string_view errorText);
