#pragma once
// Catches what the librarian sends: its output goes to the simulated unit, whose record of
// what it received is read back as hex text ("F0 00 01 ...").
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/globals.h"
#include "platform/midi/midi_out.h"
#include "platform/midi/simulator/simulator_backend.h"
#include "tests/support/hex_text.h"

namespace app_test {

using test_support::BytesFromHex;
using test_support::HexBytes;

// Opens the simulated unit, emptied of what it received, as the librarian's output device
// (midilink::HMIDIOUT); false when it is not listed.
inline bool OpenSimulatedOutput() {
  setenv("BOXWRIGHT_SIMULATOR", "1", 1);
  midi::SimulatorInstance().Reset();
  midi::SimulatorInstance().ClearReceived();
  for (UINT id = 0; id < midiOutGetNumDevs(); ++id) {
    MIDIOUTCAPSA caps{};
    midiOutGetDevCapsA(id, &caps, sizeof caps);
    if (std::string(caps.szPname) == midi::kSimulatorName)
      return midiOutOpen(&midilink::HMIDIOUT, id, 0, 0, CALLBACK_NULL) == MMSYSERR_NOERROR;
  }
  return false;
}

// Closes the output (every message handed over is taken first) and returns what the unit
// received since it was opened, one message a string.
inline std::vector<std::string> CloseAndTakeSent() {
  midiOutClose(midilink::HMIDIOUT);
  midilink::HMIDIOUT = nullptr;
  std::vector<std::string> sent;
  for (const auto& message : midi::SimulatorInstance().Received())
    sent.push_back(HexBytes(std::string(message.begin(), message.end())));
  midi::SimulatorInstance().ClearReceived();
  return sent;
}

}  // namespace app_test
