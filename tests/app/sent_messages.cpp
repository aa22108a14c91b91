#include "tests/app/sent_messages.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "app/globals.h"
#include "platform/midi/midi_out.h"
#include "platform/midi/simulator_backend.h"

namespace app_test {

void OpenSimulatedOutput() {
  setenv("BOXWRIGHT_SIMULATOR", "1", 1);
  midi::SimulatorInstance().Reset();
  midi::SimulatorInstance().ClearReceived();
  const UINT count = midiOutGetNumDevs();
  for (UINT id = 0; id < count; ++id) {
    MIDIOUTCAPSA caps{};
    midiOutGetDevCapsA(id, &caps, sizeof caps);
    if (std::string(caps.szPname) == midi::kSimulatorName) {
      ASSERT_EQ(midiOutOpen(&midilink::HMIDIOUT, id, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
      return;
    }
  }
  FAIL() << "the simulated unit is not listed";
}

std::vector<std::string> CloseAndTakeSent() {
  midiOutClose(midilink::HMIDIOUT);
  midilink::HMIDIOUT = nullptr;
  std::vector<std::string> sent;
  for (const auto& message : midi::SimulatorInstance().Received())
    sent.push_back(HexBytes(std::string(message.begin(), message.end())));
  midi::SimulatorInstance().ClearReceived();
  return sent;
}

std::string HexBytes(std::string_view bytes) {
  std::string out;
  char buf[4];
  for (unsigned char b : bytes) {
    std::snprintf(buf, sizeof buf, out.empty() ? "%02X" : " %02X", b);
    out += buf;
  }
  return out;
}

std::string BytesFromHex(std::string_view hex) {
  std::string out;
  std::istringstream in{std::string(hex)};
  std::string word;
  while (in >> word) out.push_back(static_cast<char>(std::stoul(word, nullptr, 16)));
  return out;
}

}  // namespace app_test
