#pragma once
// Catches what the librarian sends: its output goes to the simulated unit, and the unit's
// record of what it received is read back as hex text ("F0 00 01 ...").
#include <string>
#include <string_view>
#include <vector>

namespace app_test {

// Opens the simulated unit as the librarian's output device (midilink::HMIDIOUT).
void OpenSimulatedOutput();
// Closes the output (every message handed over is written first) and returns what the unit
// received since it was opened, one message a string.
std::vector<std::string> CloseAndTakeSent();

// "F0 00 01" <-> bytes.
std::string HexBytes(std::string_view bytes);
std::string BytesFromHex(std::string_view hex);

}  // namespace app_test
