#pragma once
// The look-up of the calls the compiler inlined at an address: the ".qvcalls" section the build
// writes beside the debug records (a 20-byte header: tag "QVIC", range count, offsets of the
// range table, the call table and the name pool; ranges of 12 bytes: rva, end, innermost call,
// sorted and never overlapping; calls of 16 bytes: name offset, line of the call, source index
// into the records' module names, the call it lies in or FFFFFFFFh). Bounded reads of the module
// file, no allocation: usable in a signal handler.
#include <cstddef>
#include <cstdint>

#include "crash/records/record_file.h"
#include "crash/records/symbol_lookup.h"

namespace crash {

inline constexpr std::size_t kMostInlinedCalls = 12;

struct InlinedCallStep {
  char name[kNameLength + 1] = {};  // the callee
  std::uint32_t callLine = 0;       // where its caller calls it
  std::uint32_t callSource = 0;     // source index of that line
};

// The inlined calls that lead to an address, the outermost first. A deeper chain keeps its
// outermost call and the innermost ones.
struct InlinedChain {
  std::size_t count = 0;
  InlinedCallStep calls[kMostInlinedCalls];
};

class InlinedCallLookup {
 public:
  // Makes the section at `offset` (`size` bytes) of the file the one in use; false when the file
  // cannot be duplicated. Forget() leaves no section: every address then has no inlined call.
  bool Use(const RecordFile& file, std::uint64_t offset, std::uint64_t size);
  void Forget();

  // The chain at the rva; false (and an empty chain) where no inlined call holds it, or where the
  // section is damaged.
  bool Find(std::uint32_t rva, InlinedChain& chain);

 private:
  // Call `index` and the call it lies in (kNoCall: none).
  bool ReadCall(std::uint32_t index, InlinedCallStep& step, std::uint32_t& parent);

  RecordSpan section_;
  std::uint32_t rangeCount_ = 0, rangeTable_ = 0, callTable_ = 0, namePool_ = 0;
  bool loaded_ = false;
};

}  // namespace crash
