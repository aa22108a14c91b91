#include "app/user_cab.h"

#include <algorithm>

LONG ShownUserCabOffset(LONG offset) { return std::clamp<LONG>(offset, 0, USER_CAB_OFFSET_MAX); }

LONG UserCabOf(LONG cabNum, LONG offset) {
  if (offset < 1 || cabNum < offset) return 0;
  return cabNum - offset + 1;  // at most cabNum, since offset is at least 1
}
