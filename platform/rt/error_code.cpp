#include "platform/rt/error_code.h"

namespace {
thread_local int tErrorCode = 0;
}

int ERRORCODE() { return tErrorCode; }

namespace rt {
void SetErrorCode(int code) { tErrorCode = code; }
}  // namespace rt
