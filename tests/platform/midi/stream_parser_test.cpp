#include <gtest/gtest.h>

#include <string>

#include "platform/midi/stream_parser.h"

namespace {

using midi::InputItem;
using Kind = InputItem::Kind;

// A readable trace of items: D:message, E:message, S:bytes, S!:bytes of a finished message, B.
std::string Trace(const std::vector<InputItem>& items) {
  std::string out;
  char buf[16];
  for (const auto& item : items) {
    if (!out.empty()) out += " | ";
    switch (item.kind) {
      case Kind::Data: std::snprintf(buf, sizeof buf, "D:%06X", item.message); out += buf; break;
      case Kind::Error: std::snprintf(buf, sizeof buf, "E:%06X", item.message); out += buf; break;
      case Kind::BrokenSysEx: out += "B"; break;
      case Kind::SysEx:
        out += item.complete ? "S!:" : "S:";
        for (BYTE b : item.bytes) {
          std::snprintf(buf, sizeof buf, "%02X", b);
          out += buf;
        }
        break;
    }
  }
  return out;
}

std::string Parse(std::vector<std::vector<BYTE>> chunks) {
  midi::StreamParser parser;
  std::vector<InputItem> items;
  for (const auto& chunk : chunks) parser.Feed(chunk, items);
  return Trace(items);
}

TEST(StreamParser, SplitsTheByteStream) {
  struct Case {
    const char* what;
    std::vector<std::vector<BYTE>> chunks;
    std::string expected;
  } cases[] = {
      {"note on and program change", {{0x90, 0x40, 0x7F, 0xC1, 0x05}}, "D:7F4090 | D:0005C1"},
      {"running status", {{0x90, 0x40, 0x7F, 0x41, 0x00}}, "D:7F4090 | D:004190"},
      {"a message across reads", {{0xB0, 0x07}, {0x64}}, "D:6407B0"},
      {"whole system-exclusive message", {{0xF0, 0x00, 0x01, 0xF7}}, "S!:F00001F7"},
      {"system-exclusive across reads", {{0xF0, 0x01}, {0x02, 0xF7}}, "S:F001 | S!:02F7"},
      {"real-time inside system-exclusive", {{0xF0, 0x01, 0xF8, 0x02, 0xF7}}, "S:F001 | D:0000F8 | S!:02F7"},
      {"real-time inside a short message", {{0x90, 0x40, 0xFE, 0x7F}}, "D:0000FE | D:7F4090"},
      {"stray data bytes", {{0x12, 0x34}}, "E:000012 | E:000034"},
      {"stray end of system-exclusive", {{0xF7}}, "E:0000F7"},
      {"status cuts system-exclusive", {{0xF0, 0x01}, {0x02, 0x90, 0x40, 0x01}}, "S:F001 | B | D:014090"},
      {"new system-exclusive cuts the old", {{0xF0, 0x01}, {0xF0, 0x02, 0xF7}}, "S:F001 | B | S!:F002F7"},
      {"status cuts a short message", {{0x90, 0x40, 0x80, 0x40, 0x00}}, "E:004090 | D:004080"},
      {"status byte alone is cut too", {{0x90, 0xC0, 0x01}}, "E:000090 | D:0001C0"},
      {"cut after a complete message", {{0x90, 0x3C, 0x40, 0xC0, 0xF7}}, "D:403C90 | E:0000C0 | E:0000F7"},
      {"cut after running status", {{0x90, 0x3C, 0x40, 0x41, 0xC0, 0xF7}}, "D:403C90 | E:004190 | E:0000C0 | E:0000F7"},
      {"system common ends running status", {{0xF1, 0x10, 0x20}}, "D:0010F1 | E:000020"},
      {"system-exclusive ends running status", {{0x90, 0x40, 0x01, 0xF0, 0xF7, 0x41}}, "D:014090 | S!:F0F7 | E:000041"},
      {"tune request has no data", {{0xF6}}, "D:0000F6"},
      {"undefined system common", {{0xF4, 0x01}}, "E:0000F4 | E:000001"},
  };
  for (const auto& c : cases) EXPECT_EQ(Parse(c.chunks), c.expected) << c.what;
}

TEST(StreamParser, ResetForgetsAMessageInProgress) {
  midi::StreamParser parser;
  std::vector<InputItem> items;
  parser.Feed(std::vector<BYTE>{0xF0, 0x01}, items);
  parser.Reset();
  items.clear();
  parser.Feed(std::vector<BYTE>{0x02, 0xF7, 0x40}, items);
  EXPECT_EQ(Trace(items), "E:000002 | E:0000F7 | E:000040");

  // Data bytes of a message before the Reset are not reported with a later message.
  parser.Feed(std::vector<BYTE>{0x90, 0x3C}, items);
  parser.Reset();
  items.clear();
  parser.Feed(std::vector<BYTE>{0xC0, 0xF7}, items);
  EXPECT_EQ(Trace(items), "E:0000C0 | E:0000F7");
}

TEST(StreamParser, LongMessageStreamsOutPieceByPiece) {
  midi::StreamParser parser;
  std::vector<InputItem> items;
  std::vector<BYTE> piece(1000, 0x11);
  piece[0] = 0xF0;
  parser.Feed(piece, items);
  for (int i = 0; i < 9; ++i) parser.Feed(std::vector<BYTE>(1000, 0x22), items);
  parser.Feed(std::vector<BYTE>{0xF7}, items);
  ASSERT_EQ(items.size(), 11u);
  size_t total = 0;
  for (const auto& item : items) total += item.bytes.size();
  EXPECT_EQ(total, 10001u);
  EXPECT_TRUE(items.back().complete);
}

}  // namespace
