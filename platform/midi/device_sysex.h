#pragma once
// Framing of the processor's system-exclusive messages: F0h, the maker and model bytes
// 00h 01h 74h 03h, a function byte, data, a checksum (XOR of every byte before it,
// AND 7Fh) and F7h.
#include <span>
#include <vector>

#include "platform/win/types.h"

namespace midi {

inline constexpr BYTE kDeviceHeader[] = {0xF0, 0x00, 0x01, 0x74, 0x03};
inline constexpr size_t kFunctionAt = 5;       // 0-based position of the function byte
inline constexpr size_t kShortestMessage = 8;  // header, function, checksum, F7h

BYTE Checksum(std::span<const BYTE> bytesBeforeChecksum);
// True when the message has the header, ends in F7h and its checksum is right.
bool IsSoundMessage(std::span<const BYTE> message);
std::vector<BYTE> FrameMessage(BYTE function, std::span<const BYTE> data);
// Recomputes the checksum of a framed message after its data changed.
void Reseal(std::vector<BYTE>& message);

}  // namespace midi
