#pragma once
// The unit's cab file: a start message (function 7Ah: the slot, 7Fh for none, then 00h 10h),
// data messages (7Bh: 20h 00h, then 32 chunks of 5 bytes, each one 32-bit sample or four
// characters; the first data message opens with the 32-character name in 8 chunks) and a
// closing message (7Ch). How four characters sit in a chunk is our own guess, kept here
// alone so that it can be corrected in one place.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/types.h"

namespace midi {

inline constexpr BYTE kCabFileStart = 0x7A;
inline constexpr BYTE kCabFileData = 0x7B;
inline constexpr BYTE kCabFileEnd = 0x7C;
inline constexpr BYTE kCabFileAnySlot = 0x7F;

inline constexpr size_t kCabChunkBytes = 5;
inline constexpr size_t kCabChunksPerMessage = 32;
inline constexpr size_t kCabDataMessages = 64;
inline constexpr size_t kCabNameChunks = 8;
inline constexpr size_t kCabSamples = kCabDataMessages * kCabChunksPerMessage - kCabNameChunks;
// 0-based position of the first chunk in a data message (after the function and 20h 00h).
inline constexpr size_t kCabChunksAt = 8;
inline constexpr size_t kCabDataMessageLength = kCabChunksAt + kCabChunksPerMessage * kCabChunkBytes + 2;

// The 32 characters of the name chunks of a first data message, as they are (NUL padding
// included); empty when the message is too short to hold them.
std::string CabNameFromData(std::span<const BYTE> dataMessage);

// A whole slotless cab file: `name` padded with NULs (or cut) to 32 characters, then the
// samples (missing ones are 0, extra ones are left out), framed as the unit's messages.
std::vector<BYTE> MakeCabFile(std::string_view name, std::span<const std::int32_t> samples);

}  // namespace midi
