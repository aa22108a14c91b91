#include "crash/capture/stack_capture.h"

#include <algorithm>
#include <cstring>

#include "platform/win/modules/unhandled_exception_filter.h"
#include "platform/win/modules/virtual_query.h"

namespace crash {
namespace {

struct Range {
  ULONG_PTR low = 0, high = 0;
};

// The readable stretch of stack around an address: the faulting thread's stack as noted when
// the thread started; else the readable mapping that holds the address.
Range StackAround(ULONG_PTR address) {
  win::StackBounds bounds = win::ThreadStackBounds();
  if (bounds.high > bounds.low && address >= bounds.low && address < bounds.high) return {bounds.low, bounds.high};
  MEMORY_BASIC_INFORMATION info{};
  constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                              PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
  if (VirtualQuery(reinterpret_cast<const void*>(address), &info, sizeof info) == 0 || info.State != MEM_COMMIT ||
      (info.Protect & kReadable) == 0)
    return {};
  auto base = reinterpret_cast<ULONG_PTR>(info.BaseAddress);
  return {base, base + info.RegionSize};
}

// Any byte of the stack, the sanitizer's red zones between variables included.
[[gnu::no_sanitize("address")]] void CopyStack(unsigned char* into, ULONG_PTR from, std::size_t count) {
  const volatile unsigned char* at = reinterpret_cast<const volatile unsigned char*>(from);
  for (std::size_t i = 0; i < count; ++i) into[i] = at[i];
}

}  // namespace

void StackCapture::Take(const CONTEXT& context, const StackWalkProcs& procs) {
  count_ = 0;
  corrupt_ = endedOnPurpose_ = false;
  wordsFrom_ = context.Rsp;
  wordBytes_ = 0;
  STACKFRAME64 frame{};
  frame.AddrPC = {context.Rip, 0, AddrModeFlat};
  frame.AddrFrame = {context.Rbp, 0, AddrModeFlat};
  frame.AddrStack = {context.Rsp, 0, AddrModeFlat};
  CONTEXT walked = context;
  while (count_ < kMostLevels) {
    if (!procs.walk(IMAGE_FILE_MACHINE_AMD64, procs.process, procs.thread, &frame, &walked, nullptr,
                    procs.functionTableAccess, procs.moduleBase, nullptr))
      break;
    if (frame.AddrFrame.Offset == 0) {
      corrupt_ = true;
      break;
    }
    frames_[count_++] = {frame.AddrPC.Offset, frame.AddrFrame.Offset};
    if (procs.endAtHighReturn && (frame.AddrReturn.Offset >> 32) != 0) {
      endedOnPurpose_ = true;
      break;
    }
  }
  // The scans read from the stack pointer to the frames' last return address; a walk stuck at
  // level 0 leaves the whole stack above it to scan.
  const Range stack = StackAround(context.Rsp);
  ULONG_PTR end = context.Rsp;
  for (std::size_t i = 0; i < count_; ++i) end = std::max(end, frames_[i].frame + 16);
  if (Stuck()) end = stack.high;
  CopyWords(context.Rsp, std::min(end, stack.high));
}

void StackCapture::CopyWords(ULONG_PTR from, ULONG_PTR to) {
  if (to <= from) return;
  wordBytes_ = static_cast<std::size_t>(std::min<ULONG_PTR>(to - from, kMostStackBytes));
  CopyStack(words_, from, wordBytes_);
}

bool StackCapture::Word(ULONG_PTR address, std::uint64_t& value) const {
  if (address < wordsFrom_ || address - wordsFrom_ > wordBytes_ || wordBytes_ - (address - wordsFrom_) < 8)
    return false;
  std::memcpy(&value, words_ + (address - wordsFrom_), sizeof value);
  return true;
}

}  // namespace crash
