#pragma once
// The byte-sequence search under the Textrope searches. Candidate positions are found
// sixteen at a time by their first and last byte, and only candidates are compared whole.
// Where the first byte stays away for a while, memchr skips ahead to it, so a rare first
// byte costs no more than it costs std::string_view::find. A finder keeps the candidates of
// the block it looked at last, so a caller walking from match to match through dense matches
// pays a few bit operations per match.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "textrope/byte_text.h"

namespace textrope {

class ByteFinder {
 public:
  static constexpr std::size_t npos = std::string_view::npos;

  // hay and needle must outlive the finder. With foldHay, hay's ASCII letters are compared
  // upper-cased (the needle is taken as given). Bytes of hay before the position of the last
  // Next call may change between calls (in-place replacement); later bytes must not.
  ByteFinder(std::string_view hay, std::string_view needle, bool foldHay = false)
      : hay_(hay), needle_(needle), fold_(foldHay), blockStart_(hay.size() + kBlock) {}
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
  // A walk reads four blocks at a time.
  static constexpr std::size_t kWalkBlock = 4 * kBlock;
  // Blocks in a row without the first byte before memchr takes over the skipping.
  static constexpr unsigned kIdleBlocks = 4;

  char HayByte(std::size_t at) const { return fold_ ? UpperByte(hay_[at]) : hay_[at]; }
  bool EndsMatch(std::size_t at) const {
    return HayByte(at) == needle_.front() && HayByte(at + needle_.size() - 1) == needle_.back();
  }
  bool MiddleMatches(std::size_t at) const {
    if (needle_.size() <= 2) return true;
    const char* candidate = hay_.data() + at + 1;
    const char* middle = needle_.data() + 1;
    const std::size_t count = needle_.size() - 2;
    if (fold_) {
      for (std::size_t i = 0; i < count; ++i) {
        if (UpperByte(candidate[i]) != middle[i]) return false;
      }
      return true;
    }
    // Short middles are compared here: a library call costs more than the bytes.
    if (count > 16) return std::memcmp(candidate, middle, count) == 0;
    for (std::size_t i = 0; i < count; ++i) {
      if (candidate[i] != middle[i]) return false;
    }
    return true;
  }
  // Bit i set: position start + i has the needle's first and last byte where they belong.
  // heads gets the positions with the first byte alone.
  unsigned BlockMask(std::size_t start, unsigned& heads) const;
  // Where a block search may start at or after from: from itself, or, after a run of idle
  // blocks, the next first byte that memchr finds (lastStart + 1 when there is none).
  std::size_t SkipToHead(std::size_t from, std::size_t lastStart) const;
  std::size_t NextSingleByte(std::size_t from) const;
  std::size_t NextNearTheEnd(std::size_t from) const;

  std::string_view hay_;
  std::string_view needle_;
  bool fold_;
  // No block yet: a start beyond every position a search can begin at.
  std::size_t blockStart_;
  unsigned blockMask_ = 0;
};

inline unsigned ByteFinder::BlockMask(std::size_t start, unsigned& heads) const {
  const char* h = hay_.data() + start;
  const std::size_t length = needle_.size();
#ifdef __SSE2__
  // Broadcast through a 32-bit pattern: a byte broadcast compiles to a byte store and a
  // wider load, which stalls.
  const __m128i first = _mm_set1_epi32(static_cast<int>(static_cast<unsigned char>(needle_.front()) * 0x01010101u));
  const __m128i last = _mm_set1_epi32(static_cast<int>(static_cast<unsigned char>(needle_.back()) * 0x01010101u));
  __m128i atHead = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h));
  __m128i atTail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + length - 1));
  if (fold_) {
    // a to z lose 20h; bytes from 80h on compare as negative and stay as they are.
    const __m128i beforeA = _mm_set1_epi8('a' - 1);
    const __m128i afterZ = _mm_set1_epi8('z' + 1);
    const __m128i gap = _mm_set1_epi8(0x20);
    auto upper = [&](__m128i x) {
      __m128i lower = _mm_and_si128(_mm_cmpgt_epi8(x, beforeA), _mm_cmplt_epi8(x, afterZ));
      return _mm_sub_epi8(x, _mm_and_si128(lower, gap));
    };
    atHead = upper(atHead);
    atTail = upper(atTail);
  }
  const __m128i headHits = _mm_cmpeq_epi8(atHead, first);
  heads = static_cast<unsigned>(_mm_movemask_epi8(headHits));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(headHits, _mm_cmpeq_epi8(atTail, last))));
#else
  unsigned mask = 0;
  heads = 0;
  for (std::size_t i = 0; i < kBlock; ++i) {
    if (HayByte(start + i) == needle_.front()) heads |= 1u << i;
    if (EndsMatch(start + i)) mask |= 1u << i;
  }
  (void)h;
  (void)length;
  return mask;
#endif
}

inline std::size_t ByteFinder::SkipToHead(std::size_t from, std::size_t lastStart) const {
  // A folded letter has two forms, which memchr cannot look for at once.
  if (fold_ && LowerByte(needle_.front()) != needle_.front()) return from;
  const void* hit = std::memchr(hay_.data() + from, needle_.front(), lastStart - from + 1);
  return hit == nullptr ? lastStart + 1 : static_cast<std::size_t>(static_cast<const char*>(hit) - hay_.data());
}

inline std::size_t ByteFinder::Next(std::size_t from) {
  const std::size_t length = needle_.size();
  if (length == 0 || from > hay_.size() || length > hay_.size() - from) return npos;
  if (length == 1 && !fold_) return NextSingleByte(from);
  const std::size_t lastStart = hay_.size() - length;
  unsigned idle = 0;
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
    if (idle >= kIdleBlocks && from <= lastStart) {
      from = SkipToHead(from, lastStart);
      idle = 0;
    }
    // Both loads of a block end at or before the last byte of hay.
    if (from + kBlock - 1 > lastStart) return NextNearTheEnd(from);
    unsigned heads;
    blockStart_ = from;
    blockMask_ = BlockMask(from, heads);
    idle = heads == 0 ? idle + 1 : 0;
  }
}

template <typename Visit>
void ByteFinder::Walk(std::size_t from, std::size_t advance, Visit visit) {
  const std::size_t length = needle_.size();
  if (length < 2 && !fold_) {
    for (std::size_t at = Next(from); at != npos && visit(at); at = Next(at + advance)) {
    }
    return;
  }
  if (length == 0 || from > hay_.size() || length > hay_.size() - from) return;
  const std::size_t lastStart = hay_.size() - length;
  std::size_t allowed = from;
  std::size_t block = from;
  bool idle = false;
  for (;;) {
    if (idle && block <= lastStart) {
      block = SkipToHead(block, lastStart);
      idle = false;
    }
    if (block + kWalkBlock - 1 > lastStart) break;
    // Four blocks make one mask, so the loop over its matches ends once per 64 bytes.
    std::uint64_t mask = 0;
    std::uint64_t heads = 0;
    for (std::size_t part = 0; part < kWalkBlock; part += kBlock) {
      unsigned partHeads;
      mask |= static_cast<std::uint64_t>(BlockMask(block + part, partHeads)) << part;
      heads |= static_cast<std::uint64_t>(partHeads) << part;
    }
    for (; mask != 0; mask &= mask - 1) {
      std::size_t at = block + static_cast<std::size_t>(__builtin_ctzll(mask));
      if (at < allowed || !MiddleMatches(at)) continue;
      if (!visit(at)) return;
      allowed = at + advance;
    }
    idle = heads == 0;
    block += kWalkBlock;
  }
  for (std::size_t at = block > allowed ? block : allowed; at <= lastStart; ++at) {
    if (EndsMatch(at) && MiddleMatches(at)) {
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
