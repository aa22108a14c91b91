#include <gtest/gtest.h>

#include <limits>
#include <numeric>
#include <string>

#include "platform/midi/alsa/chunked_writer.h"

namespace {

// A raw port with a small kernel buffer that empties when drained or waited on.
struct FakeRawPort : midi::RawOutput {
  size_t room = 4096;
  size_t takeAtMost = std::numeric_limits<size_t>::max();
  size_t buffered = 0;
  bool failWrite = false;
  bool stuck = false;
  std::vector<BYTE> written;
  std::vector<std::string> ops;

  long Write(std::span<const BYTE> bytes) override {
    if (failWrite) return -5;
    size_t count = std::min({bytes.size(), room - buffered, takeAtMost});
    written.insert(written.end(), bytes.begin(), bytes.begin() + count);
    buffered += count;
    ops.push_back("W" + std::to_string(count));
    return static_cast<long>(count);
  }
  bool WaitWritable(std::chrono::milliseconds) override {
    ops.push_back("wait");
    if (stuck) return false;
    buffered = 0;
    return true;
  }
  bool Drain() override {
    ops.push_back("D");
    buffered = 0;
    return true;
  }
};

std::vector<BYTE> Message(size_t size) {
  std::vector<BYTE> bytes(size);
  std::iota(bytes.begin(), bytes.end(), 0);
  return bytes;
}

TEST(ChunkedWriter, NeverPutsMoreThanAChunkBetweenDrains) {
  struct Case {
    size_t size, chunk, room, takeAtMost;
    std::string ops;
  } cases[] = {
      {16, 256, 4096, SIZE_MAX, "W16 D"},
      {600, 256, 4096, SIZE_MAX, "W256 D W256 D W88 D"},
      {300, 256, 4096, 100, "W100 W100 W56 D W44 D"},
      {300, 256, 120, SIZE_MAX, "W120 W0 wait W120 W0 wait W16 D W44 D"},
  };
  for (const auto& c : cases) {
    FakeRawPort port;
    port.room = c.room;
    port.takeAtMost = c.takeAtMost;
    auto message = Message(c.size);
    EXPECT_TRUE(midi::WriteInChunks(port, message, c.chunk));
    EXPECT_EQ(port.written, message);
    std::string ops;
    for (const auto& op : port.ops) ops += (ops.empty() ? "" : " ") + op;
    EXPECT_EQ(ops, c.ops) << c.size << " bytes, room " << c.room;
  }
}

TEST(ChunkedWriter, AFailingOrStuckPortEndsTheWrite) {
  FakeRawPort failing;
  failing.failWrite = true;
  EXPECT_FALSE(midi::WriteInChunks(failing, Message(10)));

  FakeRawPort stuck;
  stuck.room = 0;
  stuck.stuck = true;
  EXPECT_FALSE(midi::WriteInChunks(stuck, Message(10)));
  EXPECT_EQ(stuck.ops, (std::vector<std::string>{"W0", "wait"}));
}

}  // namespace
