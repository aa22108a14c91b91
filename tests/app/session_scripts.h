#pragma once
// Pieces of scripts and files shared by the end-to-end tests.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/win/types.h"
#include "tests/app/librarian_run.h"
#include "tests/app/sent_messages.h"

namespace app_test {

// The folder of the running test: "Suite.Name".
std::string TestFolder();
// The simulated unit's row in the device lists: after every real port.
int SimulatorRow();
// Chooses the simulated unit on both sides, sets the user-cab offset, connects and waits
// until the cab list is in.
std::string ConnectScript(int offset = 131);
// A cab file for the unit: slot byte, name, padding, checksum.
std::string CabFileBytes(BYTE slot, const std::string& name);

inline bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}
// Messages sent whose function byte (byte 6) is `function`.
std::size_t CountSent(const std::vector<std::string>& sent, BYTE function);

}  // namespace app_test
