#include "platform/qt/font_warm_up.h"

#include <fontconfig/fontconfig.h>

namespace qtscreen {

// The configuration becomes the process's current one, which Qt's font database then finds
// already loaded.
FontWarmUp::FontWarmUp() : reader_([] { FcInit(); }) {}

FontWarmUp::~FontWarmUp() { Wait(); }

void FontWarmUp::Wait() {
  if (reader_.joinable()) reader_.join();
}

}  // namespace qtscreen
