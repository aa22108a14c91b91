#pragma once
// Runs the boxwright program end to end on the scripted screen with the simulated unit
// listed, in a folder of its own, and collects what it showed, sent and stored.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/win/types.h"
#include "tests/app/json_value.h"

namespace app_test {

struct LibrarianRun {
  int status = -1;
  std::string folder;             // the program's current directory
  std::vector<Json> transcript;   // one entry a line
  std::vector<Json> dumps;        // the "dump" lines, in order: caption -> equate -> state
  std::vector<std::string> sent;  // what the unit received, "F0 00 01 ..."

  // Lines of one kind ("message", "popup", "file", "beep", "error").
  std::vector<Json> Lines(const std::string& kind) const;
  // The first error line's text, "" when the script ran through.
  std::string Error() const;
  // The main window in dump n.
  const Json& Main(std::size_t dump) const;
  bool Sent(const std::string& hex) const { return std::find(sent.begin(), sent.end(), hex) != sent.end(); }
  // True when the messages of `bytes` (a file of several) reached the unit one after another.
  bool SentWhole(const std::string& bytes) const;
  // Messages sent whose function byte (byte 6) is `function`.
  std::size_t CountSent(BYTE function) const;
};

// Runs `script` in the folder "<suite>.<test>" of the running test, made afresh, with `files`
// (name, bytes) written into it first and then `prepare` given the folder.
LibrarianRun RunLibrarian(const std::string& script,
                          const std::vector<std::pair<std::string, std::string>>& files = {},
                          const std::function<void(const std::filesystem::path&)>& prepare = {});

// Chooses the simulated unit on both sides (its row is after every real port), sets the
// user-cab offset, connects and waits until the cab list is in.
std::string ConnectScript(int offset = 131);
// The simulated unit's row in the device lists.
std::string SimulatorRow();

// Cells of a list row (from 1) as the list shows them.
std::vector<std::string> RowCells(const Json& control, std::size_t row);
// A cab file in the unit's own format, named `name`, with `slot` in its start message.
std::string CabFileBytes(BYTE slot, const std::string& name);
// The messages of a file of several, one after another.
std::vector<std::string> SplitMessages(const std::string& bytes);

}  // namespace app_test
