#include "tests/app/librarian_run.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/midi/cab_file_format.h"
#include "platform/midi/device_sysex.h"
#include "platform/midi/midi_in.h"
#include "tests/app/sent_messages.h"
#include "tests/support/child_program.h"

namespace app_test {
namespace {

std::vector<std::string> NonEmptyLines(const std::filesystem::path& path) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) lines.push_back(line);
  return lines;
}

// Where the test run sends the system log (nowhere, unless it says otherwise).
std::string SystemLogOfTheRun() {
  const char* log = std::getenv("BOXWRIGHT_SYSTEM_LOG");
  return std::string("BOXWRIGHT_SYSTEM_LOG=") + (log ? log : "");
}

}  // namespace

std::vector<Json> LibrarianRun::Lines(const std::string& kind) const {
  std::vector<Json> lines;
  for (const Json& line : transcript)
    if (line.Has(kind)) lines.push_back(line[kind]);
  return lines;
}

std::string LibrarianRun::Error() const {
  auto errors = Lines("error");
  return errors.empty() ? "" : errors[0].text;
}

const Json& LibrarianRun::Main(std::size_t dump) const { return dumps.at(dump)["Boxwright 1.01"]; }

std::size_t LibrarianRun::CountSent(BYTE function) const {
  return static_cast<std::size_t>(std::count_if(sent.begin(), sent.end(), [function](const std::string& hex) {
    const std::string bytes = BytesFromHex(hex);
    return bytes.size() > 5 && static_cast<BYTE>(bytes[5]) == function;
  }));
}

bool LibrarianRun::SentWhole(const std::string& bytes) const {
  std::vector<std::string> messages;
  for (const std::string& message : SplitMessages(bytes)) messages.push_back(HexBytes(message));
  return !messages.empty() && std::search(sent.begin(), sent.end(), messages.begin(), messages.end()) != sent.end();
}

LibrarianRun RunLibrarian(const std::string& script, const std::vector<std::pair<std::string, std::string>>& files,
                          const std::function<void(const std::filesystem::path&)>& prepare) {
  namespace fs = std::filesystem;
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const fs::path dir = fs::absolute(std::string(test->test_suite_name()) + "." + test->name());
  fs::remove_all(dir);
  fs::create_directories(dir);
  for (const auto& [name, bytes] : files) std::ofstream(dir / name, std::ios::binary) << bytes;
  std::ofstream(dir / "script.txt") << script;
  if (prepare) prepare(dir);

  LibrarianRun run;
  run.folder = dir.string();
  run.status = test_support::RunChild({BOXWRIGHT_EXE},
                                      {.folder = dir,
                                       .environment = {"BOXWRIGHT_SCREEN=script", "BOXWRIGHT_SCRIPT=script.txt",
                                                       "BOXWRIGHT_TRANSCRIPT=transcript.jsonl", "BOXWRIGHT_SIMULATOR=1",
                                                       "BOXWRIGHT_SIMULATOR_LOG=sent.log", SystemLogOfTheRun()},
                                       .dropInherited = {"BOXWRIGHT_"}})
                   .status;
  for (const std::string& line : NonEmptyLines(dir / "transcript.jsonl")) run.transcript.push_back(ParseJson(line));
  run.dumps = run.Lines("dump");
  run.sent = NonEmptyLines(dir / "sent.log");
  return run;
}

std::string SimulatorRow() {
  setenv("BOXWRIGHT_SIMULATOR", "1", 1);
  return std::to_string(midiInGetNumDevs());
}

std::string ConnectScript(int offset) {
  return "select INDEVICELIST " + SimulatorRow() + "\nselect OUTDEVICELIST " + SimulatorRow() +
         "\nset GLO:USERCABOFFSET \"" + std::to_string(offset) + "\"\npress CONNECTBUTTON\nwait 3\n";
}

std::vector<std::string> RowCells(const Json& control, std::size_t row) {
  std::vector<std::string> cells;
  for (const Json& cell : control["rows"][row - 1].items) cells.push_back(cell.text);
  return cells;
}

std::string CabFileBytes(BYTE slot, const std::string& name) {
  std::vector<BYTE> file = midi::MakeCabFile(name, {});
  constexpr std::size_t kStartLength = 11;
  file[6] = slot;
  file[kStartLength - 2] = midi::Checksum(std::span(file).first(kStartLength - 2));
  return std::string(file.begin(), file.end());
}

std::vector<std::string> SplitMessages(const std::string& bytes) {
  std::vector<std::string> messages;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t end = std::min(bytes.find('\xF7', at), bytes.size() - 1);
    messages.push_back(bytes.substr(at, end + 1 - at));
    at = end + 1;
  }
  return messages;
}

}  // namespace app_test
