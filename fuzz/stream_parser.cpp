// The MIDI stream parser: any bytes, fed in any chunks.
// Rules: the messages found do not depend on how the stream was cut into reads; a Reset
// leaves nothing behind; a message cut short reports only data bytes that arrived for it.
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "platform/midi/stream_parser.h"

namespace {

using midi::InputItem;
using Kind = InputItem::Kind;

// A system-exclusive message comes out in pieces wherever a read ended; join the pieces, and
// drop those of a message that was then cut, so that two runs compare by messages.
std::vector<InputItem> Joined(std::vector<InputItem> items) {
  std::vector<InputItem> joined;
  for (auto& item : items) {
    const bool pieceWaiting = !joined.empty() && joined.back().kind == Kind::SysEx && !joined.back().complete;
    if (item.kind == Kind::BrokenSysEx && pieceWaiting) joined.pop_back();
    if (item.kind == Kind::SysEx && pieceWaiting) {
      joined.back().bytes.insert(joined.back().bytes.end(), item.bytes.begin(), item.bytes.end());
      joined.back().complete = item.complete;
    } else {
      joined.push_back(std::move(item));
    }
  }
  return joined;
}

bool Same(const std::vector<InputItem>& a, const std::vector<InputItem>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].kind != b[i].kind || a[i].message != b[i].message || a[i].bytes != b[i].bytes ||
        a[i].complete != b[i].complete) {
      return false;
    }
  }
  return true;
}

std::vector<InputItem> ParseWhole(std::span<const BYTE> stream) {
  midi::StreamParser parser;
  std::vector<InputItem> items;
  parser.Feed(stream, items);
  return Joined(std::move(items));
}

// Byte by byte, checking each message cut short against the data bytes it was given.
void CheckCutMessages(std::span<const BYTE> stream) {
  midi::StreamParser parser;
  std::vector<BYTE> openData;  // data bytes since the last status byte or complete message
  bool inSysEx = false;
  for (BYTE byte : stream) {
    const bool data = byte < 0x80 && !inSysEx;
    if (data) openData.push_back(byte);
    std::vector<InputItem> items;
    parser.Feed(std::span<const BYTE>(&byte, 1), items);
    for (const auto& item : items) {
      if (item.kind == Kind::Error && (item.message & 0x80) != 0) {
        const BYTE data1 = (item.message >> 8) & 0xFF;
        const BYTE data2 = (item.message >> 16) & 0xFF;
        FUZZ_CHECK(data1 == 0 || (openData.size() > 0 && data1 == openData[0]));
        FUZZ_CHECK(data2 == 0 || (openData.size() > 1 && data2 == openData[1]));
      }
      if (item.kind == Kind::Data && (item.message & 0xFF) < 0xF8) openData.clear();
    }
    if (byte >= 0x80 && byte < 0xF8) {
      openData.clear();
      inSysEx = byte == 0xF0;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  // The first bytes choose the read sizes and where a Reset falls; the rest is the stream.
  const std::uint8_t chunkSeed = input.Byte();
  const std::size_t resetAt = input.Byte();
  const std::string rest = input.Rest();
  const std::vector<BYTE> stream(rest.begin(), rest.end());

  const auto whole = ParseWhole(stream);

  midi::StreamParser chunked;
  std::vector<InputItem> items;
  std::size_t at = 0;
  for (std::size_t step = 0; at < stream.size(); ++step) {
    const std::size_t length = std::min<std::size_t>(1 + (chunkSeed + step * 7) % 13, stream.size() - at);
    chunked.Feed(std::span<const BYTE>(stream).subspan(at, length), items);
    at += length;
  }
  FUZZ_CHECK(Same(Joined(std::move(items)), whole));

  // Whatever was in progress, a Reset parser reads the rest as a fresh one does.
  const std::size_t cut = std::min(resetAt, stream.size());
  midi::StreamParser reset;
  std::vector<InputItem> ignored;
  reset.Feed(std::span<const BYTE>(stream).first(cut), ignored);
  reset.Reset();
  std::vector<InputItem> afterReset;
  reset.Feed(std::span<const BYTE>(stream).subspan(cut), afterReset);
  FUZZ_CHECK(Same(Joined(std::move(afterReset)), ParseWhole(std::span<const BYTE>(stream).subspan(cut))));

  CheckCutMessages(stream);
  return 0;
}
