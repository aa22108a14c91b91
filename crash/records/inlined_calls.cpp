#include "crash/records/inlined_calls.h"

#include <algorithm>
#include <cstring>

namespace crash {
namespace {

constexpr std::size_t kHeaderSize = 20;
constexpr std::size_t kRangeSize = 12;
constexpr std::size_t kCallSize = 16;
constexpr std::uint32_t kNoCall = 0xFFFFFFFF;
// Calls nest no deeper than this; a longer walk is a damaged (or looping) table.
constexpr std::uint32_t kMostDepth = 256;

}  // namespace

bool InlinedCallLookup::Use(const RecordFile& file, std::uint64_t offset, std::uint64_t size) {
  Forget();
  if (!section_.Use(file, offset, size)) return false;
  unsigned char header[kHeaderSize];
  if (!section_.Read(0, header, sizeof header) || std::memcmp(header, "QVIC", 4) != 0) return true;
  rangeCount_ = ReadU32(header + 4);
  rangeTable_ = ReadU32(header + 8);
  callTable_ = ReadU32(header + 12);
  namePool_ = ReadU32(header + 16);
  loaded_ = std::uint64_t{rangeTable_} + std::uint64_t{rangeCount_} * kRangeSize <= size && callTable_ <= size &&
            namePool_ <= size;
  return true;
}

void InlinedCallLookup::Forget() {
  section_.Forget();
  loaded_ = false;
  rangeCount_ = 0;
}

bool InlinedCallLookup::ReadCall(std::uint32_t index, InlinedCallStep& step, std::uint32_t& parent) {
  unsigned char bytes[kCallSize];
  if (!section_.Read(callTable_ + std::uint64_t{index} * kCallSize, bytes, sizeof bytes)) return false;
  step.callLine = ReadU32(bytes + 4);
  step.callSource = ReadU32(bytes + 8);
  parent = ReadU32(bytes + 12);
  return section_.ReadName(std::uint64_t{namePool_} + ReadU32(bytes), step.name);
}

bool InlinedCallLookup::Find(std::uint32_t rva, InlinedChain& chain) {
  chain.count = 0;
  if (!loaded_ || rangeCount_ == 0) return false;
  // The last range starting at or below the rva.
  std::uint32_t low = 0, high = rangeCount_;
  unsigned char range[kRangeSize];
  while (high - low > 1) {
    std::uint32_t middle = low + (high - low) / 2;
    if (!section_.Read(rangeTable_ + std::uint64_t{middle} * kRangeSize, range, 4)) return false;
    if (ReadU32(range) <= rva) low = middle;
    else high = middle;
  }
  if (!section_.Read(rangeTable_ + std::uint64_t{low} * kRangeSize, range, sizeof range)) return false;
  if (rva < ReadU32(range) || rva >= ReadU32(range + 4)) return false;
  // From the innermost call outwards, keeping the innermost ones and the last read, the outermost.
  constexpr std::size_t kInner = kMostInlinedCalls - 1;
  InlinedCallStep inner[kInner];
  InlinedCallStep step;
  std::uint32_t depth = 0;
  for (std::uint32_t call = ReadU32(range + 8); call != kNoCall; ++depth) {
    if (depth == kMostDepth || !ReadCall(call, step, call)) return false;
    if (depth < kInner) inner[depth] = step;
  }
  if (depth == 0) return false;
  // All of them when they fit; else the outermost, then the innermost ones.
  std::size_t at = 0;
  if (depth > kInner) chain.calls[at++] = step;
  for (std::size_t i = std::min<std::size_t>(depth, kInner); i-- > 0;) chain.calls[at++] = inner[i];
  chain.count = at;
  return true;
}

}  // namespace crash
