#include <gtest/gtest.h>

#include <cstring>

#include "platform/midi/idle.h"
#include "platform/midi/midi_in.h"
#include "platform/midi/midi_out.h"
#include "tests/platform/midi/fake_device.h"
#include "tests/platform/midi/hex.h"
#include "tests/platform/midi/notice_window.h"

namespace {

using midi_test::Bytes;
using midi_test::FakeDevice;
using midi_test::Hex;

constexpr UINT kHdr = sizeof(MIDIHDR);

// An input buffer of its own size with its header.
struct Buffer {
  explicit Buffer(size_t size) : bytes(size) {
    header.lpData = bytes.data();
    header.dwBufferLength = static_cast<DWORD>(size);
  }
  std::vector<char> bytes;
  MIDIHDR header;
};

class MidiApi : public ::testing::Test {
 protected:
  std::shared_ptr<FakeDevice> first = std::make_shared<FakeDevice>("First Port");
  std::shared_ptr<FakeDevice> second =
      std::make_shared<FakeDevice>("A port whose name is longer than thirty-one characters");
  midi_test::BackendScope scope{{std::make_shared<midi_test::FakeBackend>(
      std::vector<std::shared_ptr<FakeDevice>>{first, second})}};
  midi_test::NoticeWindow window;

  HMIDIIN OpenInput(DWORD flags = CALLBACK_WINDOW | MIDI_IO_STATUS) {
    HMIDIIN in = nullptr;
    EXPECT_EQ(midiInOpen(&in, 0, window.callback(), 0, flags), MMSYSERR_NOERROR);
    return in;
  }
  void Queue(HMIDIIN in, Buffer& buffer) {
    buffer.header.dwFlags = 0;
    ASSERT_EQ(midiInPrepareHeader(in, &buffer.header, kHdr), MMSYSERR_NOERROR);
    ASSERT_EQ(midiInAddBuffer(in, &buffer.header, kHdr), MMSYSERR_NOERROR);
  }
  std::vector<std::string> LongData() {
    std::vector<std::string> data;
    for (const auto& notice : window.notices()) {
      if (notice.message == MM_MIM_LONGDATA) data.push_back(Hex(notice.data));
    }
    return data;
  }
  void CloseInput(HMIDIIN in) {
    midiInReset(in);
    EXPECT_EQ(midiInClose(in), MMSYSERR_NOERROR);
  }
};

TEST_F(MidiApi, ListsDevicesAndRefusesUnknownIds) {
  ASSERT_EQ(midiInGetNumDevs(), 2u);
  ASSERT_EQ(midiOutGetNumDevs(), 2u);
  MIDIINCAPSA in{};
  EXPECT_EQ(midiInGetDevCapsA(0, &in, sizeof in), MMSYSERR_NOERROR);
  EXPECT_STREQ(in.szPname, "First Port");
  MIDIOUTCAPSA out{};
  EXPECT_EQ(midiOutGetDevCapsA(1, &out, sizeof out), MMSYSERR_NOERROR);
  EXPECT_EQ(std::string(out.szPname), std::string("A port whose name is longer than thirty-one characters").substr(0, 31));
  EXPECT_EQ(midiInGetDevCapsA(2, &in, sizeof in), MMSYSERR_BADDEVICEID);
  EXPECT_EQ(midiOutGetDevCapsA(UINT_PTR(-1), &out, sizeof out), MMSYSERR_BADDEVICEID);

  HMIDIIN hin = reinterpret_cast<HMIDIIN>(1);
  HMIDIOUT hout = reinterpret_cast<HMIDIOUT>(1);
  EXPECT_EQ(midiInOpen(&hin, UINT(-1), window.callback(), 0, CALLBACK_WINDOW), MMSYSERR_BADDEVICEID);
  EXPECT_EQ(midiOutOpen(&hout, 2, window.callback(), 0, CALLBACK_WINDOW), MMSYSERR_BADDEVICEID);
  EXPECT_EQ(hin, nullptr);
  EXPECT_EQ(hout, nullptr);
  EXPECT_EQ(midiInOpen(&hin, 0, 0x7777, 0, CALLBACK_WINDOW), MMSYSERR_INVALPARAM) << "not a window";
  EXPECT_EQ(midiInOpen(&hin, 0, window.callback(), 0, 0x00030000), MMSYSERR_INVALFLAG) << "function callback";
  window.Settle();
  EXPECT_TRUE(window.notices().empty());
}

TEST_F(MidiApi, OpenAndCloseNotifyInOrder) {
  HMIDIIN in = OpenInput();
  HMIDIOUT out = nullptr;
  ASSERT_EQ(midiOutOpen(&out, 1, window.callback(), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
  EXPECT_EQ(midiInClose(in), MMSYSERR_NOERROR);
  EXPECT_EQ(midiOutClose(out), MMSYSERR_NOERROR);
  window.Settle();
  EXPECT_EQ(window.Messages(), (std::vector<UINT>{MM_MIM_OPEN, MM_MOM_OPEN, MM_MIM_CLOSE, MM_MOM_CLOSE}));
  EXPECT_EQ(window.notices()[0].wParam, reinterpret_cast<WPARAM>(in));
  EXPECT_EQ(window.notices()[1].wParam, reinterpret_cast<WPARAM>(out));

  // The device is free again, and the new handle is not the old one.
  HMIDIIN again = OpenInput();
  EXPECT_NE(again, in);
  EXPECT_EQ(midiInClose(again), MMSYSERR_NOERROR);
}

TEST_F(MidiApi, LongMessageFillsOneBufferThenTheNext) {
  HMIDIIN in = OpenInput();
  Buffer a(16), b(16), c(16), d(16);
  Queue(in, a);
  Queue(in, b);
  Queue(in, c);
  Queue(in, d);
  midiInStart(in);
  std::vector<BYTE> longMessage(40, 0x11);
  longMessage.front() = 0xF0;
  longMessage.back() = 0xF7;
  first->Feed(longMessage);
  std::vector<BYTE> exact(16, 0x22);  // fills a buffer to the byte: returned once
  exact.front() = 0xF0;
  exact.back() = 0xF7;
  first->Feed(exact);
  window.Settle();

  auto data = LongData();
  ASSERT_EQ(data.size(), 4u);
  EXPECT_EQ(a.header.dwBytesRecorded, 16u);
  EXPECT_EQ(b.header.dwBytesRecorded, 16u);
  EXPECT_EQ(c.header.dwBytesRecorded, 8u);
  EXPECT_EQ(d.header.dwBytesRecorded, 16u);
  EXPECT_EQ(data[0] + " " + data[1] + " " + data[2], Hex(longMessage));
  EXPECT_EQ(data[3], Hex(exact));
  EXPECT_EQ(a.header.dwFlags & (MHDR_DONE | MHDR_INQUEUE), MHDR_DONE);
  EXPECT_EQ(window.notices()[1].lParam, reinterpret_cast<LPARAM>(&a.header));
  EXPECT_EQ(midiInClose(in), MMSYSERR_NOERROR);
}

TEST_F(MidiApi, OneBufferRequeuedFromTheHandlerKeepsInputFlowing) {
  HMIDIIN in = OpenInput();
  Buffer buffer(16384);
  Queue(in, buffer);
  midiInStart(in);
  // As the program does: take the message, then hand the same buffer back.
  std::vector<int> seen;
  window.onNotice = [&](const midi_test::Notice& notice) {
    if (notice.message != MM_MIM_LONGDATA) return;
    seen.push_back(notice.data.size() == 6 ? notice.data[2] * 128 + notice.data[3] : -1);
    midiInUnprepareHeader(in, &buffer.header, kHdr);
    Queue(in, buffer);
  };
  constexpr int kMessages = 10000;
  for (int burst = 0; burst < kMessages; burst += 100) {
    std::vector<BYTE> bytes;
    for (int i = burst; i < burst + 100; ++i) {
      auto message = Bytes("F0 7D 00 00 55 F7");
      message[2] = static_cast<BYTE>(i / 128);
      message[3] = static_cast<BYTE>(i % 128);
      bytes.insert(bytes.end(), message.begin(), message.end());
    }
    first->Feed(bytes);
  }
  ASSERT_TRUE(window.PumpUntil([&] { return seen.size() == kMessages; }));
  for (int i = 0; i < kMessages; ++i) ASSERT_EQ(seen[i], i);
  window.onNotice = nullptr;
  CloseInput(in);
}

TEST_F(MidiApi, ShortMessagesErrorsAndBrokenSysEx) {
  HMIDIIN in = OpenInput(CALLBACK_WINDOW);
  Buffer buffer(64);
  Queue(in, buffer);
  first->Feed(Bytes("90 40 7F"));  // before midiInStart: dropped
  window.Settle();
  midiInStart(in);
  first->Feed(Bytes("12 90 40 7F F0 01 02 80 40 00"));
  window.Settle();
  EXPECT_EQ(window.Messages(),
            (std::vector<UINT>{MM_MIM_OPEN, MM_MIM_ERROR, MM_MIM_DATA, MM_MIM_LONGERROR, MM_MIM_DATA}));
  EXPECT_EQ(window.notices()[1].lParam, 0x12);
  EXPECT_EQ(window.notices()[2].lParam, 0x7F4090);
  // The broken message is dropped; the buffer stays queued and starts again.
  EXPECT_EQ(window.notices()[3].lParam, reinterpret_cast<LPARAM>(&buffer.header));
  EXPECT_TRUE(buffer.header.dwFlags & MHDR_INQUEUE);
  first->Feed(Bytes("F0 03 F7"));
  window.Settle();
  EXPECT_EQ(LongData(), (std::vector<std::string>{"F0 03 F7"}));
  CloseInput(in);
}

TEST_F(MidiApi, MoreDataOnlyWithIoStatus) {
  for (DWORD flags : {DWORD{CALLBACK_WINDOW}, CALLBACK_WINDOW | MIDI_IO_STATUS}) {
    window.Settle();
    window.notices().clear();
    HMIDIIN in = OpenInput(flags);
    midiInStart(in);
    first->Feed(Bytes("90 40 7F 40 00 F8"));
    window.Settle();
    UINT early = (flags & MIDI_IO_STATUS) ? MM_MIM_MOREDATA : MM_MIM_DATA;
    EXPECT_EQ(window.Messages(), (std::vector<UINT>{MM_MIM_OPEN, early, early, MM_MIM_DATA})) << flags;
    CloseInput(in);
  }
}

TEST_F(MidiApi, ResetHandsBuffersBack) {
  HMIDIIN in = OpenInput();
  Buffer a(64), b(64);
  Queue(in, a);
  Queue(in, b);
  midiInStart(in);
  first->Feed(Bytes("F0 01 02"));
  window.Settle();
  EXPECT_EQ(midiInClose(in), MIDIERR_STILLPLAYING);
  EXPECT_EQ(midiInUnprepareHeader(in, &a.header, kHdr), MIDIERR_STILLPLAYING);
  EXPECT_EQ(midiInReset(in), MMSYSERR_NOERROR);
  window.Settle();
  EXPECT_EQ(LongData(), (std::vector<std::string>{"F0 01 02", ""}));
  EXPECT_EQ(b.header.dwFlags & (MHDR_DONE | MHDR_INQUEUE), MHDR_DONE);
  EXPECT_EQ(b.header.dwBytesRecorded, 0u);
  EXPECT_EQ(midiInUnprepareHeader(in, &a.header, kHdr), MMSYSERR_NOERROR);
  EXPECT_EQ(midiInClose(in), MMSYSERR_NOERROR);
  window.Settle();
  EXPECT_EQ(window.Messages().back(), MM_MIM_CLOSE);
}

TEST_F(MidiApi, BadHandlesAndHeadersFailWithoutCrashing) {
  HMIDIIN closedIn = OpenInput();
  ASSERT_EQ(midiInClose(closedIn), MMSYSERR_NOERROR);
  HMIDIOUT closedOut = nullptr;
  ASSERT_EQ(midiOutOpen(&closedOut, 0, window.callback(), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
  ASSERT_EQ(midiOutClose(closedOut), MMSYSERR_NOERROR);
  Buffer buffer(32);
  for (HMIDIIN h : {HMIDIIN{}, reinterpret_cast<HMIDIIN>(0x1234), closedIn}) {
    EXPECT_EQ(midiInPrepareHeader(h, &buffer.header, kHdr), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(midiInAddBuffer(h, &buffer.header, kHdr), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(midiInUnprepareHeader(h, &buffer.header, kHdr), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(midiInStart(h), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(midiInReset(h), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(midiInClose(h), MMSYSERR_INVALHANDLE);
  }
  for (HMIDIOUT h : {HMIDIOUT{}, reinterpret_cast<HMIDIOUT>(0x1234), closedOut}) {
    EXPECT_EQ(midiOutPrepareHeader(h, &buffer.header, kHdr), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(midiOutLongMsg(h, &buffer.header, kHdr), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(midiOutUnprepareHeader(h, &buffer.header, kHdr), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(midiOutClose(h), MMSYSERR_INVALHANDLE);
  }

  HMIDIIN in = OpenInput();
  HMIDIOUT out = nullptr;
  ASSERT_EQ(midiOutOpen(&out, 0, window.callback(), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
  EXPECT_EQ(midiInAddBuffer(in, &buffer.header, kHdr), MIDIERR_UNPREPARED);
  EXPECT_EQ(midiOutLongMsg(out, &buffer.header, kHdr), MIDIERR_UNPREPARED);
  EXPECT_EQ(midiInPrepareHeader(in, nullptr, kHdr), MMSYSERR_INVALPARAM);
  EXPECT_EQ(midiInPrepareHeader(in, &buffer.header, 48), MMSYSERR_INVALPARAM) << "a size that is not ours";
  Buffer empty(0);
  EXPECT_EQ(midiOutPrepareHeader(out, &empty.header, kHdr), MMSYSERR_INVALPARAM);
  EXPECT_EQ(midiInOpen(nullptr, 0, window.callback(), 0, CALLBACK_WINDOW), MMSYSERR_INVALPARAM);
  EXPECT_EQ(midiInClose(in), MMSYSERR_NOERROR);
  EXPECT_EQ(midiOutClose(out), MMSYSERR_NOERROR);
}

TEST_F(MidiApi, OutputTakesACopyAndReportsDone) {
  HMIDIOUT out = nullptr;
  ASSERT_EQ(midiOutOpen(&out, 0, window.callback(), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
  std::vector<char> bytes{'\xF0', 0x01, 0x02, '\xF7'};
  MIDIHDR header{};
  header.lpData = bytes.data();
  header.dwBufferLength = 4;
  ASSERT_EQ(midiOutPrepareHeader(out, &header, kHdr), MMSYSERR_NOERROR);
  ASSERT_EQ(midiOutLongMsg(out, &header, kHdr), MMSYSERR_NOERROR);
  EXPECT_EQ(header.dwFlags, MHDR_PREPARED | MHDR_DONE);
  // The caller may reuse both at once.
  bytes[1] = 0x05;
  ASSERT_EQ(midiOutLongMsg(out, &header, kHdr), MMSYSERR_NOERROR);
  EXPECT_EQ(midiOutUnprepareHeader(out, &header, kHdr), MMSYSERR_NOERROR);
  EXPECT_EQ(midiOutClose(out), MMSYSERR_NOERROR);
  window.Settle();
  std::vector<std::string> sent;
  for (const auto& message : first->Sent()) sent.push_back(Hex(message));
  EXPECT_EQ(sent, (std::vector<std::string>{"F0 01 02 F7", "F0 05 02 F7"}));
  EXPECT_EQ(window.Messages(), (std::vector<UINT>{MM_MOM_OPEN, MM_MOM_DONE, MM_MOM_DONE, MM_MOM_CLOSE}));
  EXPECT_EQ(window.notices()[1].lParam, reinterpret_cast<LPARAM>(&header));
}

TEST_F(MidiApi, FailedOutputPortIsReported) {
  HMIDIOUT out = nullptr;
  ASSERT_EQ(midiOutOpen(&out, 0, window.callback(), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
  first->FailOutput();
  std::vector<char> bytes{'\xF0', 0x01, '\xF7'};
  MIDIHDR header{};
  header.lpData = bytes.data();
  header.dwBufferLength = 3;
  ASSERT_EQ(midiOutPrepareHeader(out, &header, kHdr), MMSYSERR_NOERROR);
  EXPECT_EQ(midiOutLongMsg(out, &header, kHdr), MMSYSERR_NOERROR);
  midi::WaitUntilIdle();
  EXPECT_EQ(midiOutLongMsg(out, &header, kHdr), MMSYSERR_NODRIVER);
  EXPECT_EQ(midiOutUnprepareHeader(out, &header, kHdr), MMSYSERR_NOERROR);
  EXPECT_EQ(midiOutClose(out), MMSYSERR_NOERROR);
}

}  // namespace
