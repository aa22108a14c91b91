#pragma once
// The byte-sequence search under the Textrope searches. Candidate positions are found
// sixteen at a time by their first and last byte, and only candidates are compared whole.
// A finder keeps the candidates of the block it looked at last, so a caller walking from
// match to match through dense matches pays a few bit operations per match.
#include <cstddef>
#include <cstring>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace textrope {

class ByteFinder {
 public:
  static constexpr std::size_t npos = std::string_view::npos;

  // hay and needle must outlive the finder. Bytes of hay before the position of the last
  // Next call may change between calls (in-place replacement); later bytes must not.
  ByteFinder(std::string_view hay, std::string_view needle)
      : hay_(hay), needle_(needle), blockStart_(hay.size() + kBlock) {}
  // 0-based index of the first occurrence at or after from, or npos.
  std::size_t Next(std::size_t from);
  // Calls visit(at) for the occurrences from `from` on, in order, each next one at or after
  // at + advance, until visit returns false. The text is read a block after another, so a
  // walk through dense matches never waits on the previous match. Bytes before at +
  // advance may be changed by visit.
  template <typename Visit>
  void Walk(std::size_t from, std::size_t advance, Visit visit);

 private:
  static constexpr std::size_t kBlock = 16;

  bool MiddleMatches(std::size_t at) const {
    const char* candidate = hay_.data() + at + 1;
    const char* middle = needle_.data() + 1;
    const std::size_t count = needle_.size() - 2;
    // Short middles are compared here: a library call costs more than the bytes.
    if (count > 16) return std::memcmp(candidate, middle, count) == 0;
    for (std::size_t i = 0; i < count; ++i) {
      if (candidate[i] != middle[i]) return false;
    }
    return true;
  }
  unsigned BlockMask(std::size_t start) const;
  std::size_t NextSingleByte(std::size_t from) const;
  std::size_t NextNearTheEnd(std::size_t from) const;

  std::string_view hay_;
  std::string_view needle_;
  // No block yet: a start beyond every position a search can begin at.
  std::size_t blockStart_;
  unsigned blockMask_ = 0;
};

// Bit i set: position start + i has the needle's first and last byte where they belong.
inline unsigned ByteFinder::BlockMask(std::size_t start) const {
  const char* h = hay_.data() + start;
  const std::size_t length = needle_.size();
#ifdef __SSE2__
  // Broadcast through a 32-bit pattern: a byte broadcast compiles to a byte store and a
  // wider load, which stalls.
  const __m128i heads = _mm_set1_epi32(static_cast<int>(static_cast<unsigned char>(needle_.front()) * 0x01010101u));
  const __m128i tails = _mm_set1_epi32(static_cast<int>(static_cast<unsigned char>(needle_.back()) * 0x01010101u));
  __m128i atHead = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h));
  __m128i atTail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + length - 1));
  return static_cast<unsigned>(
      _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(atHead, heads), _mm_cmpeq_epi8(atTail, tails))));
#else
  unsigned mask = 0;
  for (std::size_t i = 0; i < kBlock; ++i) {
    if (h[i] == needle_.front() && h[i + length - 1] == needle_.back()) mask |= 1u << i;
  }
  return mask;
#endif
}

inline std::size_t ByteFinder::Next(std::size_t from) {
  const std::size_t length = needle_.size();
  if (length == 0 || from > hay_.size() || length > hay_.size() - from) return npos;
  if (length == 1) return NextSingleByte(from);
  const std::size_t lastStart = hay_.size() - length;
  for (;;) {
    if (from - blockStart_ < kBlock) {  // inside the block looked at last
      unsigned mask = blockMask_ & (~0u << (from - blockStart_));
      while (mask != 0) {
        std::size_t at = blockStart_ + static_cast<std::size_t>(__builtin_ctz(mask));
        if (MiddleMatches(at)) return at;
        mask &= mask - 1;
      }
      from = blockStart_ + kBlock;
    }
    // Both loads of a block end at or before the last byte of hay.
    if (from + kBlock - 1 > lastStart) return NextNearTheEnd(from);
    blockStart_ = from;
    blockMask_ = BlockMask(from);
  }
}

template <typename Visit>
void ByteFinder::Walk(std::size_t from, std::size_t advance, Visit visit) {
  const std::size_t length = needle_.size();
  if (length < 2) {
    for (std::size_t at = Next(from); at != npos && visit(at); at = Next(at + advance)) {
    }
    return;
  }
  if (from > hay_.size() || length > hay_.size() - from) return;
  const std::size_t lastStart = hay_.size() - length;
  std::size_t allowed = from;
  std::size_t block = from;
  for (; block + kBlock - 1 <= lastStart; block += kBlock) {
    for (unsigned mask = BlockMask(block); mask != 0; mask &= mask - 1) {
      std::size_t at = block + static_cast<std::size_t>(__builtin_ctz(mask));
      if (at < allowed || !MiddleMatches(at)) continue;
      if (!visit(at)) return;
      allowed = at + advance;
    }
  }
  for (std::size_t at = block > allowed ? block : allowed; at <= lastStart; ++at) {
    if (hay_[at] == needle_.front() && hay_[at + length - 1] == needle_.back() && MiddleMatches(at)) {
      if (!visit(at)) return;
      at += advance - 1;
    }
  }
}

// 0-based index of the first occurrence of needle in hay at or after from, or npos.
inline std::size_t FindBytes(std::string_view hay, std::string_view needle, std::size_t from) {
  return ByteFinder(hay, needle).Next(from);
}

}  // namespace textrope
