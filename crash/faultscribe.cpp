#include "crash/faultscribe.h"

#include "crash/faultscribe_sequence.h"
#include "platform/rt/fatal_error.h"
#include "platform/rt/props.h"
#include "platform/rt/system.h"
#include "platform/win/modules/unhandled_exception_filter.h"

namespace vrGPF {
std::atomic<FaultscribeClass*> PointerGPFHandler{nullptr};
std::atomic<LONG> AlreadyActive{0};
EXCEPTION_POINTERS C71Handler{nullptr, nullptr};
kx_ProcCell GetModuleHandleExA_Cell{KX_CELL_UNTRIED};
kx_ProcCell SymGetModuleBase64_Cell{KX_CELL_UNTRIED};
kx_ProcCell SymFunctionTableAccess64_Cell{KX_CELL_UNTRIED};
kx_ProcCell StackWalk64_Cell{KX_CELL_UNTRIED};
kx_ProcCell SymInitialize_Cell{KX_CELL_UNTRIED};
kx_ProcCell SymSetOptions_Cell{KX_CELL_UNTRIED};
}  // namespace vrGPF

FaultscribeClass::~FaultscribeClass() { Destruct(); }

void FaultscribeClass::Construct() {
  Initialize();
  // What the fault path cannot make without the heap is made now.
  crash::PrepareFaultSequence();
  vrGPF::PointerGPFHandler.store(this);
  SetUnhandledExceptionFilter(VectoredExceptionHandler);
  rt::SetSystemProp(PROP::LastChanceHook, reinterpret_cast<LONG_PTR>(&vrLastChanceHook));
}

void FaultscribeClass::Destruct() {
  // A fault after the object is gone is left to the system, never handed to a dead object.
  FaultscribeClass* self = this;
  vrGPF::PointerGPFHandler.compare_exchange_strong(self, nullptr);
}

void FaultscribeClass::Initialize() {}
void FaultscribeClass::FilterExceptions(ULONG) {}
void FaultscribeClass::ExtraReportText() {}

LONG VectoredExceptionHandler(EXCEPTION_POINTERS* pointers) {
  FaultscribeClass* handler = vrGPF::PointerGPFHandler.load();
  if (handler == nullptr) return EXCEPTION_CONTINUE_SEARCH;
  return handler->_VectoredExceptionHandler_(pointers);
}

LONG vrLastChanceHook(rt::IExceptionInfo* info) {
  vrGPF::C71Handler.ExceptionRecord = info->Record();
  vrGPF::C71Handler.ContextRecord = info->Context();
  return VectoredExceptionHandler(&vrGPF::C71Handler);
}
