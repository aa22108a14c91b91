#pragma once
// Capture, the first stage of a trace: the faulting thread's frames as the stack walk gives
// them, and the stack's words that the frames' scans read, copied into fixed storage, so that
// resolving and formatting read nothing of the live stack. Signal-safe: no heap, no lock; the
// walk's procedures are bound before any fault.
#include <cstddef>
#include <cstdint>

#include "platform/win/modules/debug_help.h"

namespace crash {

inline constexpr std::size_t kMostLevels = 31;               // levels 0 to 30
inline constexpr std::size_t kMostStackBytes = 256 * 1024;   // what the scans may read

struct CapturedFrame {
  ULONG_PTR pc = 0;        // the fault's instruction at level 0, a return address above it
  ULONG_PTR frame = 0;     // AddrFrame: the saved frame pointer's slot, the return address 8 above
};

struct StackWalkProcs {
  StackWalk64Proc walk = nullptr;
  SymFunctionTableAccess64Proc functionTableAccess = nullptr;
  SymGetModuleBase64Proc moduleBase = nullptr;
  HANDLE process = nullptr;
  HANDLE thread = nullptr;
  bool endAtHighReturn = false;  // the design's Windows 98 rule: a return address above 4 GiB ends it
};

class StackCapture {
 public:
  // The walk of the context's stack, levels 0 to 30 at most, and the words from its stack
  // pointer up to the last frame's return address (up to the stack's end when the walk could not
  // leave level 0), within the thread's stack and kMostStackBytes. Keeps nothing of an earlier one.
  void Take(const CONTEXT& context, const StackWalkProcs& procs);

  std::size_t Count() const { return count_; }
  const CapturedFrame& Frame(std::size_t level) const { return frames_[level]; }
  // The walk met a frame address of 0 after the frames it gave.
  bool Corrupt() const { return corrupt_; }
  // The walk could not go on from level 0 (or gave no frame at all): the scan of the stack
  // stands in for it.
  bool Stuck() const { return count_ <= 1 && !corrupt_ && !endedOnPurpose_; }
  // The captured words: the 8 bytes at `address`, when the capture holds all of them.
  bool Word(ULONG_PTR address, std::uint64_t& value) const;
  ULONG_PTR WordsEnd() const { return wordsFrom_ + wordBytes_; }

 private:
  void CopyWords(ULONG_PTR from, ULONG_PTR to);

  std::size_t count_ = 0;
  CapturedFrame frames_[kMostLevels];
  bool corrupt_ = false;
  bool endedOnPurpose_ = false;
  ULONG_PTR wordsFrom_ = 0;
  std::size_t wordBytes_ = 0;
  unsigned char words_[kMostStackBytes];
};

}  // namespace crash
