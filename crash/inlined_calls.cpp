#include "crash/inlined_calls.h"

#include <algorithm>
#include <cstring>

namespace crash {
namespace {

constexpr std::size_t kHeaderSize = 20;
constexpr std::size_t kRangeSize = 12;
constexpr std::size_t kStepSize = 12;

}  // namespace

bool InlinedCallLookup::Use(const RecordFile& file, std::uint64_t offset, std::uint64_t size) {
  Forget();
  if (!file_.OpenDuplicate(file.Descriptor())) return false;
  offset_ = offset;
  size_ = size;
  unsigned char header[kHeaderSize];
  if (!Read(0, header, sizeof header) || std::memcmp(header, "QVIC", 4) != 0) return true;
  rangeCount_ = ReadU32(header + 4);
  rangeTable_ = ReadU32(header + 8);
  chainArea_ = ReadU32(header + 12);
  namePool_ = ReadU32(header + 16);
  loaded_ = std::uint64_t{rangeTable_} + std::uint64_t{rangeCount_} * kRangeSize <= size_ && chainArea_ <= size_ &&
            namePool_ <= size_;
  return true;
}

void InlinedCallLookup::Forget() {
  file_.Close();
  loaded_ = false;
  rangeCount_ = 0;
}

bool InlinedCallLookup::Read(std::uint64_t offset, void* into, std::size_t count) const {
  if (offset > size_ || count > size_ - offset) return false;
  return file_.ReadExactly(offset_ + offset, into, count);
}

bool InlinedCallLookup::ReadStep(std::uint64_t at, InlinedCallStep& step) {
  unsigned char bytes[kStepSize];
  if (!Read(at, bytes, sizeof bytes)) return false;
  step.callLine = ReadU32(bytes + 4);
  step.callSource = ReadU32(bytes + 8);
  std::uint64_t nameAt = std::uint64_t{namePool_} + ReadU32(bytes);
  if (nameAt >= size_) return false;
  std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(kNameLength, size_ - nameAt));
  if (!Read(nameAt, step.name, count)) return false;
  step.name[count] = '\0';
  step.name[strnlen(step.name, count)] = '\0';
  return true;
}

bool InlinedCallLookup::Find(std::uint32_t rva, InlinedChain& chain) {
  chain.count = 0;
  if (!loaded_ || rangeCount_ == 0) return false;
  // The last range starting at or below the rva.
  std::uint32_t low = 0, high = rangeCount_;
  unsigned char range[kRangeSize];
  while (high - low > 1) {
    std::uint32_t middle = low + (high - low) / 2;
    if (!Read(rangeTable_ + std::uint64_t{middle} * kRangeSize, range, 4)) return false;
    if (ReadU32(range) <= rva) low = middle;
    else high = middle;
  }
  if (!Read(rangeTable_ + std::uint64_t{low} * kRangeSize, range, sizeof range)) return false;
  if (rva < ReadU32(range) || rva >= ReadU32(range + 4)) return false;
  const std::uint64_t chainAt = std::uint64_t{chainArea_} + ReadU32(range + 8);
  unsigned char word[4];
  if (!Read(chainAt, word, sizeof word)) return false;
  const std::uint32_t count = ReadU32(word);
  if (count == 0 || std::uint64_t{count} * kStepSize > size_) return false;
  // The outermost call, then as many of the innermost as fit.
  const std::uint32_t kept = static_cast<std::uint32_t>(std::min<std::uint64_t>(count, kMostInlinedCalls));
  for (std::uint32_t i = 0; i < kept; ++i) {
    std::uint32_t step = i == 0 ? 0 : count - kept + i;
    if (!ReadStep(chainAt + 4 + std::uint64_t{step} * kStepSize, chain.calls[i])) {
      chain.count = 0;
      return false;
    }
  }
  chain.count = kept;
  return true;
}

}  // namespace crash
