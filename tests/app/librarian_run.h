#pragma once
// Runs the boxwright program end to end on the scripted screen with the simulated unit
// listed, in a folder of its own, and collects what it showed, sent and stored.
#include <string>
#include <vector>

#include "tests/app/json_value.h"

namespace app_test {

struct LibrarianRun {
  int status = -1;
  std::vector<Json> transcript;   // one entry a line
  std::vector<std::string> sent;  // what the unit received, "F0 00 01 ..."
  std::string folder;             // the program's current directory

  std::vector<Json> dumps;         // the `dump` lines, in order: caption -> equate -> state

  // Lines of one kind ("message", "popup", "file", "beep", "error").
  std::vector<Json> Lines(const std::string& kind) const;
  std::string SettingsFile() const;
};

// The folder is made afresh (emptied) under the test's working folder; `files` are written
// into it first (name, bytes) so that a run can start with settings or cab files.
LibrarianRun RunLibrarian(const std::string& folder, const std::string& script,
                          const std::vector<std::pair<std::string, std::string>>& files = {});

// The main window's state in a dump.
const Json& MainWindowIn(const Json& dump);
// Cells of a list row as the list shows them.
std::vector<std::string> RowCells(const Json& control, std::size_t row);

}  // namespace app_test
