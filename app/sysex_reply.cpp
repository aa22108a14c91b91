#include "app/sysex_reply.h"

#include "app/cab_name.h"
#include "app/sysex_templates.h"
#include "textrope/textrope.h"

namespace sysex {
namespace {

constexpr LONG kFunctionByte = 6;
// The shortest message each function can be decoded from: the last byte its decoding
// reads, or for a cab-list reply a whole message with an empty name.
constexpr LONG kShortestBlockParameter = 12;
constexpr LONG kShortestCabXY = 9;
constexpr LONG kShortestCabList = 10;
constexpr LONG kShortestStatus = 8;
constexpr std::size_t kRawHexMax = 255;

LONG ShortestReply(BYTE function) {
  switch (function) {
    case FN_BLOCK_PARAMETER: return kShortestBlockParameter;
    case FN_CAB_XY: return kShortestCabXY;
    case FN_CAB_LIST: return kShortestCabList;
    case FN_STATUS: return kShortestStatus;
    default: return 0;
  }
}

// Byte n (1-based) of the value; callers have checked the length.
BYTE At(Textrope& ST, LONG n) { return static_cast<BYTE>(ST.value[static_cast<std::size_t>(n - 1)]); }

std::optional<Reply> DecodeBlockParameter(Textrope& ST) {
  const BYTE parameter = At(ST, 9);
  if (parameter == PARAM_LEFT_CAB || parameter == PARAM_RIGHT_CAB)
    return CabNumberReply{At(ST, 11) + 128 * At(ST, 12) + 1};
  if (parameter == PARAM_CAB_MODE) return CabModeReply{At(ST, 11)};
  return std::nullopt;
}

CabListReply DecodeCabList(Textrope& ST) {
  CabListReply reply;
  reply.NumLSB = At(ST, 7);
  reply.NumMSB = At(ST, 8);
  reply.CabNum = 128 * reply.NumMSB + reply.NumLSB + 1;
  // The name runs from byte 9 to the byte before the checksum (none in a 10-byte reply);
  // like any CSTRING it ends at its first NUL.
  std::string name = ST.Slice(9, static_cast<ULONG>(ST.Length() - 2));
  name = name.substr(0, name.find('\0'));
  if (name.size() > CAB_NAME_MAX) name.resize(CAB_NAME_MAX);
  reply.Name = std::move(name);
  ST.ToHex(0);
  reply.RawHex = ST.GetValue(static_cast<LONG>(kRawHexMax));
  return reply;
}

}  // namespace

std::optional<Reply> DecodeReply(Textrope& ST, std::string_view rawData, LONG dataLen) {
  if (dataLen <= 0 || static_cast<std::size_t>(dataLen) > rawData.size()) return std::nullopt;
  const auto function = static_cast<BYTE>(dataLen >= kFunctionByte ? rawData[kFunctionByte - 1] : 0);
  const LONG shortest = ShortestReply(function);
  if (shortest == 0 || dataLen < shortest) return std::nullopt;
  ST.SetValue(rawData, 0);
  ST.Crop(1, static_cast<ULONG>(dataLen));
  switch (function) {
    case FN_BLOCK_PARAMETER: return DecodeBlockParameter(ST);
    case FN_CAB_XY: return CabXYReply{At(ST, 7), At(ST, 9)};
    case FN_CAB_LIST: return DecodeCabList(ST);
    default: return StatusReply{At(ST, 7), At(ST, 8)};
  }
}

}  // namespace sysex
