#include "platform/midi/device_caps.h"

#include <algorithm>
#include <cstring>

namespace midi {

void CopyProductName(char (&target)[MAXPNAMELEN], std::string_view name) {
  std::memset(target, 0, MAXPNAMELEN);
  std::memcpy(target, name.data(), std::min<size_t>(name.size(), MAXPNAMELEN - 1));
}

}  // namespace midi
