// The stack walk and the debug-record lookup of the report. Not built yet: until they are,
// an address has no symbol text, the walk adds nothing, and the report ends where the
// stack trace would stand. Each operation answers as the lookup does when it finds nothing.
#include "crash/faultscribe_stack.h"

crash::SymbolText FaultscribeClass::_GetSymbol(ULONG_PTR, BYTE) { return {}; }

void FaultscribeClass::_StackDetails(EXCEPTION_POINTERS*, ULONG_PTR, crash::ReportText&) {}

LONG FaultscribeClass::_LocateDebugSymbols(LONG_PTR) { return 0; }

void FaultscribeClass::_ReadBlockFromFile(ULONG, LONG, const char*, void*) {}

crash::SymbolText FaultscribeClass::_GetModuleName(LONG_PTR) { return {}; }

LONG_PTR FaultscribeClass::_GetModuleHandle(ULONG_PTR) { return 0; }

void FaultscribeClass::LookupAddress() {}

crash::SymbolText FaultscribeClass::_GetDLLVersion(const char*) { return {}; }

void FaultscribeClass::_StackDump(ULONG_PTR, ULONG_PTR, LONG, crash::ReportText&) {}

crash::SymbolText FaultscribeClass::_FormatLineInfo(LONG, std::string_view, std::string_view, std::string_view, BYTE,
                                                    BYTE, BYTE, BYTE) {
  return {};
}

namespace crash {
void AppendStackTrace(FaultscribeClass&, EXCEPTION_POINTERS*, ReportText&) {}
}  // namespace crash
