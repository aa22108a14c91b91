#include "platform/midi/cab_file_format.h"

#include <array>

#include "platform/midi/device_sysex.h"

namespace midi {

namespace {
constexpr size_t kCabNameCharacters = 4 * kCabNameChunks;

// The bytes after the slot of a start message, and after the function of a data message.
constexpr BYTE kStartData[] = {0x00, 0x10};
constexpr BYTE kDataPrefix[] = {0x20, 0x00};

// Four characters in one word: the first in the lowest 8 bits.
std::uint32_t CharactersToWord(std::string_view four) {
  std::uint32_t word = 0;
  for (size_t i = 0; i < four.size() && i < 4; ++i) word |= std::uint32_t{static_cast<unsigned char>(four[i])} << (8 * i);
  return word;
}

void AppendCharacters(std::uint32_t word, std::string& out) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((word >> (8 * i)) & 0xFF));
}

using CabChunk = std::array<BYTE, kCabChunkBytes>;

// A 32-bit word as 7-bit bytes, lowest bits first, and back.
CabChunk PackChunk(std::uint32_t word) {
  CabChunk chunk{};
  for (size_t i = 0; i < kCabChunkBytes; ++i) chunk[i] = static_cast<BYTE>((word >> (7 * i)) & 0x7F);
  return chunk;
}

std::uint32_t UnpackChunk(std::span<const BYTE, kCabChunkBytes> chunk) {
  std::uint32_t word = 0;
  for (size_t i = 0; i < kCabChunkBytes; ++i) word |= std::uint32_t{chunk[i] & 0x7Fu} << (7 * i);
  return word;
}
}  // namespace

std::string CabNameFromData(std::span<const BYTE> dataMessage) {
  if (dataMessage.size() < kCabChunksAt + kCabNameChunks * kCabChunkBytes) return {};
  std::string name;
  for (size_t i = 0; i < kCabNameChunks; ++i) {
    AppendCharacters(UnpackChunk(dataMessage.subspan(kCabChunksAt + i * kCabChunkBytes).first<kCabChunkBytes>()), name);
  }
  return name;
}

std::vector<BYTE> MakeCabFile(std::string_view name, std::span<const std::int32_t> samples) {
  std::vector<std::uint32_t> words;
  std::string paddedName(name.substr(0, kCabNameCharacters));
  paddedName.resize(kCabNameCharacters, '\0');
  for (size_t i = 0; i < kCabNameCharacters; i += 4) words.push_back(CharactersToWord(std::string_view(paddedName).substr(i, 4)));
  for (size_t i = 0; i < kCabSamples; ++i) words.push_back(i < samples.size() ? static_cast<std::uint32_t>(samples[i]) : 0);

  const BYTE start[] = {kCabFileAnySlot, kStartData[0], kStartData[1]};
  std::vector<BYTE> file = FrameMessage(kCabFileStart, start);
  for (size_t message = 0; message < kCabDataMessages; ++message) {
    std::vector<BYTE> data(std::begin(kDataPrefix), std::end(kDataPrefix));
    for (size_t i = 0; i < kCabChunksPerMessage; ++i) {
      const CabChunk chunk = PackChunk(words[message * kCabChunksPerMessage + i]);
      data.insert(data.end(), chunk.begin(), chunk.end());
    }
    const std::vector<BYTE> framed = FrameMessage(kCabFileData, data);
    file.insert(file.end(), framed.begin(), framed.end());
  }
  const std::vector<BYTE> end = FrameMessage(kCabFileEnd, {});
  file.insert(file.end(), end.begin(), end.end());
  return file;
}

}  // namespace midi
