#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/midi/cab_file_format.h"
#include "platform/midi/device_sysex.h"
#include "platform/midi/simulator/simulator.h"
#include "tests/platform/midi/hex.h"

namespace {

using midi_test::Bytes;
using midi_test::Hex;

// The simulator wired to a pipe, as the program's input would see it.
class SimulatorAnswers : public ::testing::Test {
 protected:
  SimulatorAnswers() { sim.ConnectProgramInput(&pipe); }
  ~SimulatorAnswers() override { sim.DisconnectProgramInput(&pipe); }

  // Every piece that has arrived, in order.
  std::vector<std::vector<BYTE>> Pieces() {
    std::vector<std::vector<BYTE>> pieces;
    while (pipe.Pending()) {
      pipe.Receive([&](std::span<const BYTE> b) { pieces.emplace_back(b.begin(), b.end()); },
                   std::chrono::milliseconds(50));
    }
    return pieces;
  }
  // The answers to one message, one string of hex per piece.
  std::vector<std::string> Ask(const std::string& hex) {
    sim.Receive(Bytes(hex));
    std::vector<std::string> answers;
    for (const auto& piece : Pieces()) answers.push_back(Hex(piece));
    return answers;
  }
  std::string AskOne(const std::string& hex) {
    auto answers = Ask(hex);
    return answers.size() == 1 ? answers[0] : "answers: " + std::to_string(answers.size());
  }

  midi::Simulator sim;
  midi::BytePipe pipe;
};

TEST_F(SimulatorAnswers, BlockParameterAndXYMessagesByteForByte) {
  struct Case {
    const char* what;
    const char* request;
    const char* answer;
  } cases[] = {
      {"Cab 1 left cab", "F0 00 01 74 03 02 6C 00 00 00 00 00 00 00 68 F7", "F0 00 01 74 03 02 6C 00 00 00 00 00 00 00 68 F7"},
      {"Cab 1 right cab", "F0 00 01 74 03 02 6C 00 02 00 00 00 00 00 6A F7", "F0 00 01 74 03 02 6C 00 02 00 01 00 00 00 6B F7"},
      {"Cab 1 mode is two-sided", "F0 00 01 74 03 02 6C 00 0C 00 00 00 00 00 64 F7", "F0 00 01 74 03 02 6C 00 0C 00 02 00 00 00 66 F7"},
      {"Cab 2 mode is one-sided", "F0 00 01 74 03 02 6D 00 0C 00 00 00 00 00 65 F7", "F0 00 01 74 03 02 6D 00 0C 00 00 00 00 00 65 F7"},
      {"select 149 on Cab 1 left", "F0 00 01 74 03 02 6C 00 00 00 15 01 00 01 7D F7", "F0 00 01 74 03 02 6C 00 00 00 15 01 00 01 7D F7"},
      {"select 0 on Cab 2 right", "F0 00 01 74 03 02 6D 00 02 00 00 00 00 01 6A F7", "F0 00 01 74 03 02 6D 00 02 00 00 00 00 01 6A F7"},
      {"Cab 1 X/Y", "F0 00 01 74 03 11 6C 00 00 00 7B F7", "F0 00 01 74 03 11 6C 00 00 00 7B F7"},
      {"Cab 1 to Y", "F0 00 01 74 03 11 6C 00 01 01 7B F7", "F0 00 01 74 03 11 6C 00 01 01 7B F7"},
      {"Cab 1 now on Y", "F0 00 01 74 03 11 6C 00 00 00 7B F7", "F0 00 01 74 03 11 6C 00 01 00 7A F7"},
      {"Y has its own left cab", "F0 00 01 74 03 02 6C 00 00 00 00 00 00 00 68 F7", "F0 00 01 74 03 02 6C 00 00 00 02 00 00 00 6A F7"},
      {"Cab 1 back to X", "F0 00 01 74 03 11 6C 00 00 01 7A F7", "F0 00 01 74 03 11 6C 00 00 01 7A F7"},
      {"Cab 2 left cab", "F0 00 01 74 03 02 6D 00 00 00 00 00 00 00 69 F7", "F0 00 01 74 03 02 6D 00 00 00 04 00 00 00 6D F7"},
      {"Cab 2 right as selected above", "F0 00 01 74 03 02 6D 00 02 00 00 00 00 00 6B F7", "F0 00 01 74 03 02 6D 00 02 00 00 00 00 00 6B F7"},
      {"Cab 2 X/Y", "F0 00 01 74 03 11 6D 00 00 00 7A F7", "F0 00 01 74 03 11 6D 00 00 00 7A F7"},
      {"Cab 2 to Y", "F0 00 01 74 03 11 6D 00 01 01 7A F7", "F0 00 01 74 03 11 6D 00 01 01 7A F7"},
      {"Cab 2 to X", "F0 00 01 74 03 11 6D 00 00 01 7B F7", "F0 00 01 74 03 11 6D 00 00 01 7B F7"},
      {"no such block", "F0 00 01 74 03 02 6E 00 00 00 00 00 00 00 6A F7", "F0 00 01 74 03 64 02 01 61 F7"},
      {"cab beyond the table", "F0 00 01 74 03 02 6C 00 00 00 66 01 00 01 0E F7", "F0 00 01 74 03 64 02 01 61 F7"},
      {"bad checksum", "F0 00 01 74 03 02 6C 00 00 00 00 00 00 00 69 F7", "F0 00 01 74 03 64 02 03 63 F7"},
      {"another maker", "F0 00 01 75 03 02 6C 00 00 00 00 00 00 00 69 F7", "F0 00 01 74 03 64 02 03 63 F7"},
      {"too short for its function", "F0 00 01 74 03 02 6C 00 00 00 00 00 00 68 F7", "F0 00 01 74 03 64 02 03 63 F7"},
  };
  for (const auto& c : cases) EXPECT_EQ(AskOne(c.request), c.answer) << c.what;
  EXPECT_EQ(sim.Block(midi::Simulator::kCab2).x.rightCab, 0);
  EXPECT_EQ(sim.Block(midi::Simulator::kCab1).x.leftCab, 149);
  EXPECT_EQ(sim.Block(midi::Simulator::kCab1).y.leftCab, 2) << "Y keeps its own cab";
}

TEST_F(SimulatorAnswers, CabListAnswersEveryCabInIndexOrder) {
  auto answers = Ask("F0 00 01 74 03 12 7F 7F 14 F7");
  ASSERT_EQ(answers.size(), 230u);
  EXPECT_EQ(answers[0], "F0 00 01 74 03 12 00 00 31 78 38 20 54 77 65 65 64 02 F7");  // "1x8 Tweed"
  for (int index = 0; index < 230; ++index) {
    auto message = Bytes(answers[index]);
    ASSERT_TRUE(midi::IsSoundMessage(message)) << index;
    EXPECT_EQ(message[6] + 128 * message[7], index);
    std::string name(message.begin() + 8, message.end() - 2);
    EXPECT_EQ(name, index < 130 ? sim.CabName(index) : "Empty");
    EXPECT_FALSE(name.empty());
  }

  std::vector<std::string> factory(133, "F");
  sim.SetCabs(factory, {"Name"});
  answers = Ask("F0 00 01 74 03 12 7F 7F 14 F7");
  ASSERT_EQ(answers.size(), 134u);
  EXPECT_EQ(answers[133], "F0 00 01 74 03 12 05 01 4E 61 6D 65 37 F7");
  EXPECT_EQ(AskOne("F0 00 01 74 03 12 01 00 15 F7"), "F0 00 01 74 03 64 12 03 73 F7");
}

TEST_F(SimulatorAnswers, RenameOnlyExistingUserSlots) {
  auto rename = Bytes("F0 00 01 74 03 2D 00 61 62 63");
  rename.resize(39, 0x00);
  rename.push_back(0x4B);
  rename.push_back(0xF7);
  ASSERT_EQ(rename.size(), 41u);
  EXPECT_EQ(AskOne(Hex(rename)), "F0 00 01 74 03 64 2D 00 4F F7");
  EXPECT_EQ(sim.CabName(130), "abc");

  rename[6] = 100;  // one past the last user slot
  midi::Reseal(rename);
  EXPECT_EQ(AskOne(Hex(rename)), "F0 00 01 74 03 64 2D 01 4E F7");

  // A name that fills all 32 bytes keeps 31 characters.
  for (size_t i = 7; i < 39; ++i) rename[i] = 'z';
  rename[6] = 99;
  midi::Reseal(rename);
  EXPECT_EQ(AskOne(Hex(rename)), "F0 00 01 74 03 64 2D 00 4F F7");
  EXPECT_EQ(sim.CabName(229), std::string(31, 'z'));
}

// The messages of a cab file, one after another.
std::vector<std::vector<BYTE>> Messages(const std::vector<BYTE>& file) {
  std::vector<std::vector<BYTE>> messages(1);
  for (BYTE b : file) {
    messages.back().push_back(b);
    if (b == 0xF7) messages.emplace_back();
  }
  messages.pop_back();
  return messages;
}

std::vector<BYTE> Joined(const std::vector<std::vector<BYTE>>& messages) {
  std::vector<BYTE> bytes;
  for (const auto& message : messages) bytes.insert(bytes.end(), message.begin(), message.end());
  return bytes;
}

std::string StatusHex(BYTE function, BYTE error) {
  const BYTE data[] = {function, error};
  return Hex(midi::FrameMessage(0x64, data));
}

// Cab index 135, a user slot, on Cab 2 left: the slot a cab file goes into.
constexpr const char* kSelectUserSlot = "F0 00 01 74 03 02 6D 00 00 00 07 01 00 01 6E F7";

TEST_F(SimulatorAnswers, CabFileGoesIntoTheSelectedUserSlot) {
  const auto file = midi::MakeCabFile("New Cab  ", {});
  ASSERT_EQ(file.size(), 11u + 64 * 170 + 8);
  auto answers = Ask(Hex(file));
  ASSERT_EQ(answers.size(), 66u);
  EXPECT_EQ(answers.front(), StatusHex(0x7A, 2)) << "a factory cab is selected";
  EXPECT_EQ(answers[1], StatusHex(0x7B, 3)) << "data without a start";

  EXPECT_EQ(AskOne(kSelectUserSlot).substr(0, 35), "F0 00 01 74 03 02 6D 00 00 00 07 01");
  answers = Ask(Hex(file));
  ASSERT_EQ(answers.size(), 66u);
  EXPECT_EQ(answers.front(), StatusHex(0x7A, 0));
  for (size_t i = 1; i <= 64; ++i) EXPECT_EQ(answers[i], StatusHex(0x7B, 0)) << i;
  EXPECT_EQ(answers.back(), StatusHex(0x7C, 0));
  EXPECT_EQ(sim.CabName(135), "New Cab") << "trailing blanks and NULs dropped";

  auto ownSlot = Messages(file);
  ownSlot[0][6] = 0x05;
  midi::Reseal(ownSlot[0]);
  EXPECT_EQ(Ask(Hex(Joined(ownSlot))).front(), StatusHex(0x7A, 2)) << "a file with its own slot";
  // Asking about another side moves the target: Cab 1 right holds a factory cab.
  AskOne("F0 00 01 74 03 02 6C 00 02 00 00 00 00 00 6A F7");
  EXPECT_EQ(Ask(Hex(file)).front(), StatusHex(0x7A, 2));
  EXPECT_EQ(sim.CabName(135), "New Cab");

  // A cab table changed under a file in flight takes the file's slot away with it.
  AskOne(kSelectUserSlot);
  auto messages = Messages(file);
  EXPECT_EQ(AskOne(Hex(messages.front())), StatusHex(0x7A, 0));
  sim.SetCabs({"Factory"}, {});
  messages.erase(messages.begin());
  EXPECT_EQ(Ask(Hex(Joined(messages))).back(), StatusHex(0x7C, 3));
  EXPECT_EQ(sim.CabCount(), 1);
}

TEST_F(SimulatorAnswers, OnlyAWholeCabFileChangesTheSlot) {
  const auto good = Messages(midi::MakeCabFile("Fresh", {}));
  const auto& start = good.front();
  const auto& end = good.back();
  const std::vector<std::vector<BYTE>> data(good.begin() + 1, good.end() - 1);
  auto withData = [&](std::vector<std::vector<BYTE>> before, size_t count, std::vector<std::vector<BYTE>> after) {
    before.insert(before.end(), data.begin(), data.begin() + count);
    before.insert(before.end(), after.begin(), after.end());
    return before;
  };
  auto badChecksum = good;
  badChecksum[10][50] ^= 0x01;
  auto shortData = good;
  shortData[5].erase(shortData[5].begin() + 20, shortData[5].begin() + 25);
  midi::Reseal(shortData[5]);
  const auto longName = Messages(midi::MakeCabFile("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdef", {}));
  const auto highName = Messages(midi::MakeCabFile("Caf\xE9", {}));
  const auto longStart = midi::FrameMessage(0x7A, std::vector<BYTE>{0x7F, 0x00, 0x10, 0x33});
  const auto longEnd = midi::FrameMessage(0x7C, std::vector<BYTE>{0x01, 0x02});
  const auto query = Bytes("F0 00 01 74 03 11 6C 00 00 00 7B F7");

  struct {
    const char* what;
    std::vector<std::vector<BYTE>> messages;
    const char* name;
  } cases[] = {
      {"the whole file", good, "Fresh"},
      {"a name of 32 characters", longName, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcde"},
      {"a character above 7Fh", highName, "Caf?"},
      {"start and closing of other lengths, three data messages", withData({longStart}, 3, {longEnd}), "Fresh"},
      {"no closing message", withData({start}, 64, {}), "Empty"},
      {"broken off by another message", withData({start}, 64, {query, end}), "Empty"},
      {"a second start", withData(withData({start}, 10, {start}), 64, {end}), "Empty"},
      {"one checksum wrong", badChecksum, "Empty"},
      {"a data message of another length", shortData, "Empty"},
      {"no data message", {start, end}, "Empty"},
      {"closing alone", {end}, "Empty"},
  };
  for (const auto& c : cases) {
    sim.Reset();
    AskOne(kSelectUserSlot);
    Ask(Hex(Joined(c.messages)));
    EXPECT_EQ(sim.CabName(135), c.name) << c.what;
  }
}

TEST(CabFileFormat, NameCharactersGoFourToAChunkLowestBitsFirst) {
  const auto file = midi::MakeCabFile("abcd", {});
  const std::vector<BYTE> firstChunk(file.begin() + 11 + 8, file.begin() + 11 + 13);
  EXPECT_EQ(Hex(firstChunk), "61 44 0D 23 06");
  EXPECT_EQ(midi::CabNameFromData(std::span(file).subspan(11, 170)), std::string("abcd") + std::string(28, '\0'));
}

TEST_F(SimulatorAnswers, FaultsShapeTheAnswers) {
  const std::string query = "F0 00 01 74 03 11 6C 00 00 00 7B F7";
  sim.SetFaults({.silent = true});
  EXPECT_TRUE(Ask(query).empty());

  sim.SetFaults({.forceError = 5});
  EXPECT_EQ(AskOne(query), "F0 00 01 74 03 64 11 05 76 F7");

  sim.SetFaults({.truncateTo = 7});
  EXPECT_EQ(AskOne(query), "F0 00 01 74 03 11 6C");

  sim.SetFaults({.splitInto = 5});
  EXPECT_EQ(Ask(query), (std::vector<std::string>{"F0 00 01 74 03", "11 6C 00 00 00", "7B F7"}));

  sim.SetFaults({.delay = std::chrono::milliseconds(150)});
  auto sent = std::chrono::steady_clock::now();
  sim.Receive(Bytes(query));
  EXPECT_TRUE(pipe.Pending());
  auto pieces = Pieces();
  EXPECT_GE(std::chrono::steady_clock::now() - sent, std::chrono::milliseconds(150));
  ASSERT_EQ(pieces.size(), 1u);

  sim.SetFaults({});
  sim.Inject(Bytes("12 F7 F0 01"));
  EXPECT_EQ(Hex(Pieces().at(0)), "12 F7 F0 01");
}

TEST_F(SimulatorAnswers, RecordsAndLogsWhatItReceives) {
  auto log = std::filesystem::current_path() / "records-and-logs.log";
  std::filesystem::remove(log);
  sim.SetLogPath(log.string());
  sim.Receive(Bytes("F0 00 01 74 03 12 7F 7F 14 F7 90 40"));
  sim.Receive(Bytes("7F F0 00 01"));  // a message in pieces
  sim.Receive(Bytes("74 03 11 6C 00 00 00 7B F7"));
  auto received = sim.Received();
  ASSERT_EQ(received.size(), 3u);
  EXPECT_EQ(Hex(received[1]), "90 40 7F");
  EXPECT_EQ(Hex(received[2]), "F0 00 01 74 03 11 6C 00 00 00 7B F7");

  std::ifstream in(log);
  std::string line;
  std::vector<std::string> lines;
  while (std::getline(in, line)) lines.push_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{"F0 00 01 74 03 12 7F 7F 14 F7", "90 40 7F",
                                             "F0 00 01 74 03 11 6C 00 00 00 7B F7"}));
  sim.Reset();
  EXPECT_TRUE(sim.Received().empty());
}

}  // namespace
