#include "platform/midi/alsa/alsa_quiet.h"

#include <alsa/asoundlib.h>

#include <mutex>

namespace midi {

namespace {
void Discard(const char*, int, const char*, int, const char*, ...) {}
}  // namespace

void SilenceAlsa() {
  static std::once_flag once;
  std::call_once(once, [] { snd_lib_error_set_handler(Discard); });
}

}  // namespace midi
