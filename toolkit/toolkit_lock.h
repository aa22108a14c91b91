#pragma once
// The toolkit's one process-wide lock. It guards the alert queues and the message-name
// table; the same thread may take it again without blocking.
#include "platform/rt/critical_section.h"

namespace hw {
extern CriticalSection CRITICALSECTION;
}

// Holds the toolkit lock for a scope, or until Release. With a label, every take and
// release is traced under "/debugWaitRelease".
class ToolkitLockHold {
 public:
  explicit ToolkitLockHold(const char* traceLabel = nullptr);
  ~ToolkitLockHold() { Release(); }
  ToolkitLockHold(const ToolkitLockHold&) = delete;
  ToolkitLockHold& operator=(const ToolkitLockHold&) = delete;

  void Release();

 private:
  const char* label_;
  bool held_ = true;
};
