#pragma once
// Lets a caller (the scripted screen's wait, through the runtime) settle MIDI traffic.
#include <chrono>

namespace midi {
// Blocks until no open device has work it can finish on its own: every message handed to
// an output is written, every reply the simulated device owes has arrived, and every
// input that has a buffer to go to has been posted. Input waiting for the program to queue
// a buffer does not count. False when `limit` passed first.
bool WaitUntilIdle(std::chrono::milliseconds limit = std::chrono::seconds(5));
}  // namespace midi
