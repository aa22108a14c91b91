#include "toolkit/error_trace.h"

#include "toolkit/event_tracer.h"

void kx_HandErrorToTracer(std::string_view errorText) { kx_Debug(errorText); }
