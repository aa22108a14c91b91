#pragma once
// Splits a MIDI byte stream into short messages and system-exclusive messages of any
// length. Real-time bytes (F8h-FFh) may come anywhere, even inside a system-exclusive
// message, and never interrupt it.
#include <span>
#include <vector>

#include "platform/win/types.h"

namespace midi {

struct InputItem {
  enum class Kind {
    Data,         // a complete short message, packed in `message`
    Error,        // bytes that make no message (stray data, a message cut short), packed
    SysEx,        // the next bytes of a system-exclusive message; `complete` when F7h ended it
    BrokenSysEx,  // the message in progress was cut by a status byte: drop what came of it
  };
  Kind kind = Kind::Data;
  DWORD message = 0;
  std::vector<BYTE> bytes;
  bool complete = false;
};

class StreamParser {
 public:
  // Appends to `out` what these bytes complete; unfinished messages wait for later bytes.
  void Feed(std::span<const BYTE> bytes, std::vector<InputItem>& out);
  // Forgets a message in progress and the running status.
  void Reset();

 private:
  void Status(BYTE byte, std::vector<InputItem>& out);
  void Data(BYTE byte, std::vector<InputItem>& out);
  void FlushSysEx(std::vector<InputItem>& out, bool complete);

  bool inSysEx_ = false;
  std::vector<BYTE> sysex_;     // bytes of the current message not yet handed out
  BYTE status_ = 0;             // running status (0: none)
  BYTE pending_[2] = {};        // data bytes collected for status_
  int have_ = 0;
  int need_ = 0;
  bool open_ = false;           // a short message has begun and is not complete
};

// Number of data bytes that follow a status byte (0 for real-time and single bytes).
int DataBytesAfter(BYTE status);

}  // namespace midi
