#include <gtest/gtest.h>

#include "app/cab_file_check.h"
#include "platform/midi/cab_file_format.h"
#include "platform/midi/device_sysex.h"
#include "tests/app/sent_messages.h"

namespace {

using app_test::BytesFromHex;

std::string Text(const std::vector<BYTE>& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string RealCabFile() { return Text(midi::MakeCabFile("Tone", {})); }

// A framed message with its checksum right.
std::string Message(BYTE function, const std::vector<BYTE>& data) { return Text(midi::FrameMessage(function, data)); }

TEST(CabFileCheck, JudgesByFunctionAndSlotByte) {
  struct {
    const char* name;
    bool loaded;
    std::string bytes;
    CabFileVerdict verdict;
  } cases[] = {
      {"one slotless message", true, BytesFromHex("F0 00 01 74 03 7A 7F 41 00 42 F7"), CabFileVerdict::Sendable},
      {"shortest slotless", true, BytesFromHex("F0 00 01 74 03 7A 7F 03 F7"), CabFileVerdict::Sendable},
      {"hard-coded slot", true, BytesFromHex("F0 00 01 74 03 7A 05 41 00 F7"), CabFileVerdict::HardCodedSlot},
      {"other function", true, BytesFromHex("F0 00 01 74 03 12 7F 41 00 F7"), CabFileVerdict::Invalid},
      {"too short", true, BytesFromHex("F0 00 01 74 03 7A 7F"), CabFileVerdict::Invalid},
      {"empty", true, "", CabFileVerdict::Invalid},
      {"unreadable", false, BytesFromHex("F0 00 01 74 03 7A 7F 41 00 42 F7"), CabFileVerdict::Invalid},
  };
  for (const auto& c : cases) EXPECT_EQ(JudgeCabFile(c.loaded, c.bytes), c.verdict) << c.name;
}

TEST(CabFileCheck, OnlyWholeCabFilesOfTheUnitAreSent) {
  const std::string file = RealCabFile();
  ASSERT_EQ(file.size(), 11u + 64 * 170 + 8);
  const std::string start = file.substr(0, 11);
  const std::string data = file.substr(11, 170);
  const std::string end = file.substr(file.size() - 8);

  std::string badChecksum = file;
  badChecksum[11 + 170 * 10 + 168] ^= 0x01;
  std::string highByte = file;  // a byte above 7Fh inside a data message, with the checksum made to fit
  highByte[11 + 20] = static_cast<char>(0x90);
  highByte[11 + 168] = static_cast<char>(static_cast<BYTE>(file[11 + 168]) ^ ((0x90 ^ static_cast<BYTE>(file[11 + 20])) & 0x7F));
  std::string fewerData = start;
  for (int i = 0; i < 3; ++i) fewerData += data;
  const std::string bigStart = Message(0x7A, {0x7F, 0x00, 0x10, 0x01, 0x02});
  const std::string bigEnd = Message(0x7C, {0x01, 0x02, 0x03});

  struct {
    const char* name;
    std::string bytes;
    CabFileVerdict verdict;
  } cases[] = {
      {"the unit's whole file", file, CabFileVerdict::Sendable},
      {"fewer data messages", fewerData + end, CabFileVerdict::Sendable},
      {"start and closing of other lengths", bigStart + data + bigEnd, CabFileVerdict::Sendable},
      {"only the start message", start, CabFileVerdict::Sendable},
      {"cut between two messages", start + data, CabFileVerdict::Invalid},
      {"data after the closing message", start + data + end + data, CabFileVerdict::Invalid},
      {"two closing messages", start + data + end + end, CabFileVerdict::Invalid},
      {"cut in half", file.substr(0, file.size() / 2), CabFileVerdict::Invalid},
      {"cut before the last F7", file.substr(0, file.size() - 1), CabFileVerdict::Invalid},
      {"one checksum wrong", badChecksum, CabFileVerdict::Invalid},
      {"a byte above 7Fh inside", highByte, CabFileVerdict::Invalid},
      {"followed by a rename", file + Message(0x2D, std::vector<BYTE>(33, 0)), CabFileVerdict::Invalid},
      {"a 77h message after the start", start + Message(0x77, {0x00}) + data + end, CabFileVerdict::Invalid},
      {"a second start", start + data + start + data + end, CabFileVerdict::Invalid},
      {"another model's header", file.substr(0, 4) + '\x04' + file.substr(5), CabFileVerdict::Invalid},
      {"a stray byte after the end", file + '\x00', CabFileVerdict::Invalid},
      {"garbage after the start", start + "garbage\xF7", CabFileVerdict::Invalid},
      {"a hard-coded slot before garbage", BytesFromHex("F0 00 01 74 03 7A 05") + "garbage",
       CabFileVerdict::HardCodedSlot},
  };
  for (const auto& c : cases) EXPECT_EQ(JudgeCabFile(true, c.bytes), c.verdict) << c.name;
}

TEST(CabFileCheck, FilesOverOneMebibyteAreRefused) {
  const std::string start = RealCabFile().substr(0, 11);
  const std::string filler = Message(0x7B, std::vector<BYTE>(1024 - 8, 0));
  std::string file = start;
  while (file.size() + filler.size() <= (1u << 20)) file += filler;
  const std::string closing = Message(0x7C, std::vector<BYTE>((1u << 20) - file.size() - 8, 0));
  file += closing;
  ASSERT_EQ(file.size(), 1u << 20);
  EXPECT_EQ(JudgeCabFile(true, file), CabFileVerdict::Sendable);
  EXPECT_EQ(JudgeCabFile(true, file + Message(0x7C, {})), CabFileVerdict::Invalid);
}

}  // namespace
