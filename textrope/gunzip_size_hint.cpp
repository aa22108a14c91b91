#include "textrope/gunzip_size_hint.h"

#include <algorithm>
#include <cstdint>

namespace textrope {
namespace {

constexpr std::size_t kSmallestBlock = 64;
// Deflate cannot expand data more than about 1032 times.
constexpr std::size_t kLargestRatio = 1032;
constexpr std::size_t kGzipFrame = 18;  // header 10, trailer 8
// However believable, a stated length commits no more than this before the data bears it out.
constexpr std::size_t kLargestFirstBlock = std::size_t{256} << 20;

bool LooksLikeGzip(std::string_view input) {
  return input.size() >= kGzipFrame && static_cast<unsigned char>(input[0]) == 0x1F &&
         static_cast<unsigned char>(input[1]) == 0x8B;
}

// The member's stated length: the last four bytes, least significant first.
std::uint32_t StatedLength(std::string_view input) {
  std::uint32_t stated = 0;
  for (std::size_t i = 1; i <= 4; ++i) stated = (stated << 8) | static_cast<unsigned char>(input[input.size() - i]);
  return stated;
}

}  // namespace

std::size_t GunzipFirstBlockSize(std::string_view input) {
  const std::size_t possible = input.size() * kLargestRatio;
  std::size_t guess = input.size() * 4;
  if (LooksLikeGzip(input)) {
    const std::uint32_t stated = StatedLength(input);
    if (stated != 0 && stated <= possible) guess = stated;
  }
  return std::clamp(std::min(guess, possible), kSmallestBlock, kLargestFirstBlock);
}

}  // namespace textrope
