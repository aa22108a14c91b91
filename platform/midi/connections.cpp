#include "platform/midi/connections.h"

#include <chrono>
#include <thread>

#include "platform/midi/idle.h"

namespace midi {

ConnectionTable<InputConnection, HMIDIIN>& InputConnections() {
  static ConnectionTable<InputConnection, HMIDIIN> table(0x4D10000);
  return table;
}

ConnectionTable<OutputConnection, HMIDIOUT>& OutputConnections() {
  static ConnectionTable<OutputConnection, HMIDIOUT> table(0x4D20000);
  return table;
}

bool WaitUntilIdle(std::chrono::milliseconds limit) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    // Outputs first: what they write can only add input, never take it away.
    bool busy = false;
    for (auto& output : OutputConnections().All()) busy = busy || output->Busy();
    for (auto& input : InputConnections().All()) busy = busy || input->Busy();
    if (!busy) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace midi
