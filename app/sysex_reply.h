#pragma once
// The unit's replies, taken apart. A reply is judged by its function byte (byte 6) alone:
// the header, checksum and closing F7 are not tested, so a reply from another device or
// a damaged one is read as whatever its function byte says. A reply too short for what
// its function reads is not a reply at all: nothing of a previous, longer message that
// shared the input buffer is ever read.
#include <optional>
#include <string>
#include <variant>

#include "platform/win/types.h"

class Textrope;

namespace sysex {

// 02h, parameter 00h or 02h: the cab of one side of a block (1-based cab number).
struct CabNumberReply {
  LONG CabNum = 0;
};
// 02h, parameter 0Ch: the block's cab mode.
struct CabModeReply {
  BYTE Mode = 0;
};
// 11h: a block's X/Y state.
struct CabXYReply {
  BYTE Block = 0;
  BYTE State = 0;
};
// 12h: one cab of the cab list.
struct CabListReply {
  BYTE NumLSB = 0;
  BYTE NumMSB = 0;
  LONG CabNum = 0;
  std::string Name;
  std::string RawHex;  // the whole message as lower-case hexadecimal, at most 255 characters
};
// 64h: the answer to a command; Error 0 means it was carried out.
struct StatusReply {
  BYTE Command = 0;
  BYTE Error = 0;
};

using Reply = std::variant<CabNumberReply, CabModeReply, CabXYReply, CabListReply, StatusReply>;

// Decodes the first dataLen bytes of rawData, using ST as the work area. Nothing for a
// function the librarian does not act on, or for a message too short for its function.
std::optional<Reply> DecodeReply(Textrope& ST, std::string_view rawData, LONG dataLen);

}  // namespace sysex
