#include <gtest/gtest.h>

#include <cstdlib>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/midi/device_sysex.h"
#include "platform/midi/idle.h"
#include "platform/midi/midi_in.h"
#include "platform/midi/midi_out.h"
#include "platform/midi/simulator/simulator_backend.h"
#include "tests/platform/midi/hex.h"
#include "tests/platform/midi/notice_window.h"
#include "tests/platform/test_files.h"

namespace {

using midi_test::Bytes;
using midi_test::Hex;

constexpr UINT kHdr = sizeof(MIDIHDR);

std::vector<std::string> DeviceNames(bool input) {
  std::vector<std::string> names;
  for (UINT id = 0, count = input ? midiInGetNumDevs() : midiOutGetNumDevs(); id < count; ++id) {
    MIDIINCAPSA inCaps{};
    MIDIOUTCAPSA outCaps{};
    if (input) midiInGetDevCapsA(id, &inCaps, sizeof inCaps);
    else midiOutGetDevCapsA(id, &outCaps, sizeof outCaps);
    names.push_back(input ? inCaps.szPname : outCaps.szPname);
  }
  return names;
}

int SimulatorId(bool input) {
  auto names = DeviceNames(input);
  auto found = std::find(names.begin(), names.end(), midi::kSimulatorName);
  return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

TEST(SimulatedDevice, ListedOnlyWhenTheEnvironmentAsksForIt) {
  unsetenv("BOXWRIGHT_SIMULATOR");
  EXPECT_EQ(SimulatorId(true), -1);
  setenv("BOXWRIGHT_SIMULATOR", "0", 1);
  EXPECT_EQ(SimulatorId(false), -1);
  setenv("BOXWRIGHT_SIMULATOR", "yes", 1);
  auto names = DeviceNames(true);
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names.back(), "Boxwright Simulator") << "after the real ports";
  EXPECT_EQ(SimulatorId(false), static_cast<int>(midiOutGetNumDevs()) - 1);
  unsetenv("BOXWRIGHT_SIMULATOR");
}

// A program's session with the listed device: connect, fetch the cab list, select.
class SimulatorSession : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("BOXWRIGHT_SIMULATOR", "1", 1);
    // Tests of this binary run side by side in one folder: one log each.
    log = std::filesystem::current_path() / (platform_test::TestName() + ".log");
    std::filesystem::remove(log);
    setenv("BOXWRIGHT_SIMULATOR_LOG", log.c_str(), 1);
    midi::SimulatorInstance().Reset();
    int inId = SimulatorId(true);
    int outId = SimulatorId(false);
    ASSERT_GE(inId, 0);
    ASSERT_EQ(midiInOpen(&in, inId, window.callback(), 1, CALLBACK_WINDOW | MIDI_IO_STATUS), MMSYSERR_NOERROR);
    ASSERT_EQ(midiOutOpen(&out, outId, window.callback(), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
    buffer.resize(16384);
    Requeue();
    midiInStart(in);
    window.onNotice = [this](const midi_test::Notice& notice) {
      if (notice.message != MM_MIM_LONGDATA) return;
      replies.push_back(Hex(notice.data));
      Requeue();
    };
  }
  void TearDown() override {
    window.onNotice = nullptr;
    midiInReset(in);
    midiInClose(in);
    midiOutClose(out);
    window.Settle();
    midi::SimulatorInstance().Reset();
    unsetenv("BOXWRIGHT_SIMULATOR_LOG");
    unsetenv("BOXWRIGHT_SIMULATOR");
  }
  void Requeue() {
    midiInUnprepareHeader(in, &header, kHdr);
    header = MIDIHDR{};
    header.lpData = buffer.data();
    header.dwBufferLength = static_cast<DWORD>(buffer.size());
    midiInPrepareHeader(in, &header, kHdr);
    midiInAddBuffer(in, &header, kHdr);
  }
  void Send(const std::string& hex) {
    auto bytes = Bytes(hex);
    MIDIHDR h{};
    h.lpData = reinterpret_cast<char*>(bytes.data());
    h.dwBufferLength = static_cast<DWORD>(bytes.size());
    midiOutPrepareHeader(out, &h, kHdr);
    ASSERT_EQ(midiOutLongMsg(out, &h, kHdr), MMSYSERR_NOERROR);
    midiOutUnprepareHeader(out, &h, kHdr);
  }

  midi_test::NoticeWindow window;
  std::filesystem::path log;
  HMIDIIN in = nullptr;
  HMIDIOUT out = nullptr;
  std::vector<char> buffer;
  MIDIHDR header{};
  std::vector<std::string> replies;
};

TEST_F(SimulatorSession, FetchesTheWholeCabListAndSelects) {
  Send("F0 00 01 74 03 12 7F 7F 14 F7");
  Send("F0 00 01 74 03 02 6C 00 00 00 15 01 00 01 7D F7");
  window.Settle();
  ASSERT_EQ(replies.size(), 231u);
  EXPECT_EQ(replies[0], "F0 00 01 74 03 12 00 00 31 78 38 20 54 77 65 65 64 02 F7");
  EXPECT_EQ(replies[230], "F0 00 01 74 03 02 6C 00 00 00 15 01 00 01 7D F7");
  EXPECT_EQ(midi::SimulatorInstance().Block(midi::Simulator::kCab1).x.leftCab, 149);
  EXPECT_EQ(midi::SimulatorInstance().Received().size(), 2u);

  std::ifstream in(log);
  std::string first;
  std::getline(in, first);
  EXPECT_EQ(first, "F0 00 01 74 03 12 7F 7F 14 F7");
}

TEST_F(SimulatorSession, IdleWaitCoversDelayedAndSplitReplies) {
  midi::SimulatorInstance().SetFaults({.delay = std::chrono::milliseconds(200), .splitInto = 3});
  Send("F0 00 01 74 03 11 6D 00 00 00 7A F7");
  EXPECT_FALSE(midi::WaitUntilIdle(std::chrono::milliseconds(20))) << "the reply is still owed";
  EXPECT_TRUE(midi::WaitUntilIdle());
  MSG msg;
  while (PeekMessageA(&msg, true)) DispatchMessageA(&msg);
  EXPECT_EQ(replies, (std::vector<std::string>{"F0 00 01 74 03 11 6D 00 00 00 7A F7"}));
}

TEST_F(SimulatorSession, ALongReplyFillsTheBufferAndGoesOnInTheNext) {
  std::vector<BYTE> huge(20000, 0x41);
  huge.front() = 0xF0;
  huge.back() = 0xF7;
  midi::SimulatorInstance().Inject(huge);
  window.Settle();
  ASSERT_EQ(replies.size(), 2u);
  EXPECT_EQ(Bytes(replies[0]).size(), 16384u);
  EXPECT_EQ(Bytes(replies[1]).size(), 20000u - 16384u);
}

TEST_F(SimulatorSession, SecondOpenOfTheSameSideIsRefused) {
  HMIDIIN again = nullptr;
  EXPECT_EQ(midiInOpen(&again, SimulatorId(true), window.callback(), 0, CALLBACK_WINDOW),
            MMSYSERR_ALLOCATED);
  HMIDIOUT againOut = nullptr;
  EXPECT_EQ(midiOutOpen(&againOut, SimulatorId(false), window.callback(), 0, CALLBACK_WINDOW),
            MMSYSERR_ALLOCATED);
}

}  // namespace
