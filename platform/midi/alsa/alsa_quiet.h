#pragma once
// ALSA prints its errors on stderr unless told otherwise; we report through results instead.
namespace midi {
void SilenceAlsa();
}  // namespace midi
