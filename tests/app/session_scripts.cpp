#include "tests/app/session_scripts.h"

#include <gtest/gtest.h>

namespace app_test {

std::string TestFolder() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  return std::string(info->test_suite_name()) + "." + info->name();
}

int SimulatorRow() {
  static const int row = [] {
    LibrarianRun probe = RunLibrarian(TestFolder() + ".probe", "dump\n");
    const auto& dumps = probe.dumps;
    if (dumps.empty()) return 0;
    return static_cast<int>(MainWindowIn(dumps[0])["INDEVICELIST"]["rows"].items.size());
  }();
  return row;
}

std::string ConnectScript(int offset) {
  const std::string row = std::to_string(SimulatorRow());
  return "select INDEVICELIST " + row + "\nselect OUTDEVICELIST " + row + "\nset GLO:USERCABOFFSET \"" +
         std::to_string(offset) + "\"\npress CONNECTBUTTON\nwait 3\n";
}

std::string CabFileBytes(BYTE slot, const std::string& name) {
  std::string message = BytesFromHex("F0 00 01 74 03 7A");
  message += static_cast<char>(slot);
  message += name;
  message.append(24, '\0');
  BYTE sum = 0;
  for (char c : message) sum ^= static_cast<BYTE>(c);
  message += static_cast<char>(sum & 0x7F);
  message += '\xF7';
  return message;
}

std::size_t CountSent(const std::vector<std::string>& sent, BYTE function) {
  std::size_t count = 0;
  for (const std::string& line : sent) {
    const std::string bytes = BytesFromHex(line);
    if (bytes.size() > 5 && static_cast<BYTE>(bytes[5]) == function) ++count;
  }
  return count;
}

}  // namespace app_test
