#pragma once
// Resolve: the look-up of an address in the debug records of its module (the reporter's
// _GetSymbol and the operations it is made of, faultscribe_symbols.cpp).
#include "crash/faultscribe.h"

namespace crash {
// Binds the module query, reads the module list and keeps the program file's descriptor,
// outside any fault: at fault time nothing is loaded, opened by name for the program, or
// allocated. PrepareFaultSequence calls it.
void PrepareSymbolLookup();
// What goes under the text of the address _GetSymbol looked up last, where a report shows it:
// the calls the compiler inlined there, one line each, innermost last (the callee and the line
// it runs there). A module without records that it named is kept for AppendLibraryBuildIds.
void AppendLookupDetails(FaultscribeClass& reporter, ReportText& out);
// Each module without records that the report showed, once: its path, where it was loaded and
// its build id (read from the loaded image), by which its file can be found again.
void AppendLibraryBuildIds(FaultscribeClass& reporter, ReportText& out);
}  // namespace crash
