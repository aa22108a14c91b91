#include "toolkit/error_trace.h"

#include <string>

#include "toolkit/debug_output.h"

void kx_HandErrorToTracer(std::string_view errorText) {
  std::string line = " ";
  line.append(errorText);
  kx_OutputDebugString(line, 1);
}
