#include "platform/midi/stream_parser.h"

namespace midi {

namespace {
constexpr BYTE kSysExStart = 0xF0;
constexpr BYTE kSysExEnd = 0xF7;
constexpr BYTE kFirstRealTime = 0xF8;

bool IsUndefinedCommon(BYTE status) { return status == 0xF4 || status == 0xF5; }

// Packs a short message the way the input notifications carry it.
DWORD PackShort(BYTE status, BYTE data1 = 0, BYTE data2 = 0) {
  return DWORD{status} | (DWORD{data1} << 8) | (DWORD{data2} << 16);
}
}  // namespace

int DataBytesAfter(BYTE status) {
  if (status < 0x80 || status >= kFirstRealTime) return 0;
  if (status < 0xF0) {
    BYTE kind = status & 0xF0;
    return (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
  }
  switch (status) {
    case 0xF1:
    case 0xF3: return 1;
    case 0xF2: return 2;
    default: return 0;
  }
}

void StreamParser::Reset() {
  inSysEx_ = false;
  sysex_.clear();
  status_ = 0;
  have_ = 0;
  need_ = 0;
  open_ = false;
}

void StreamParser::Feed(std::span<const BYTE> bytes, std::vector<InputItem>& out) {
  for (BYTE byte : bytes) {
    if (byte >= kFirstRealTime) {
      // Keeps the order of what came before the real-time byte.
      if (inSysEx_) FlushSysEx(out, false);
      out.push_back({InputItem::Kind::Data, PackShort(byte), {}, false});
    } else if (byte >= 0x80) {
      Status(byte, out);
    } else {
      Data(byte, out);
    }
  }
  // A long message streams out as it arrives instead of waiting for its end.
  if (inSysEx_) FlushSysEx(out, false);
}

void StreamParser::Status(BYTE byte, std::vector<InputItem>& out) {
  if (byte == kSysExEnd && inSysEx_) {
    sysex_.push_back(byte);
    FlushSysEx(out, true);
    inSysEx_ = false;
    return;
  }
  if (inSysEx_) {
    sysex_.clear();
    inSysEx_ = false;
    out.push_back({InputItem::Kind::BrokenSysEx, 0, {}, false});
  }
  if (open_) {
    // Only the data bytes this message received; pending_ may still hold an earlier one's.
    out.push_back({InputItem::Kind::Error,
                   PackShort(status_, have_ > 0 ? pending_[0] : 0, have_ > 1 ? pending_[1] : 0), {}, false});
  }
  have_ = 0;
  status_ = 0;
  need_ = 0;
  open_ = false;
  if (byte == kSysExStart) {
    inSysEx_ = true;
    sysex_.assign(1, byte);
    return;
  }
  if (byte == kSysExEnd || IsUndefinedCommon(byte)) {
    out.push_back({InputItem::Kind::Error, PackShort(byte), {}, false});
    return;
  }
  int need = DataBytesAfter(byte);
  if (need == 0) {
    out.push_back({InputItem::Kind::Data, PackShort(byte), {}, false});
    return;
  }
  status_ = byte;
  need_ = need;
  open_ = true;
}

void StreamParser::Data(BYTE byte, std::vector<InputItem>& out) {
  if (inSysEx_) {
    sysex_.push_back(byte);
    return;
  }
  if (status_ == 0) {
    out.push_back({InputItem::Kind::Error, PackShort(byte), {}, false});
    return;
  }
  open_ = true;
  pending_[have_++] = byte;
  if (have_ < need_) return;
  out.push_back({InputItem::Kind::Data, PackShort(status_, pending_[0], need_ > 1 ? pending_[1] : 0), {}, false});
  have_ = 0;
  open_ = false;
  // Running status belongs to channel messages only.
  if (status_ >= 0xF0) status_ = 0;
}

void StreamParser::FlushSysEx(std::vector<InputItem>& out, bool complete) {
  if (sysex_.empty() && !complete) return;
  out.push_back({InputItem::Kind::SysEx, 0, std::move(sysex_), complete});
  sysex_.clear();
}

}  // namespace midi
