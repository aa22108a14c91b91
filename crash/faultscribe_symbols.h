#pragma once
// Resolve: the look-up of an address in the debug records of its module (the reporter's
// _GetSymbol and the operations it is made of, faultscribe_symbols.cpp).
namespace crash {
// Binds the module query, reads the module list and keeps the program file's descriptor,
// outside any fault: at fault time nothing is loaded, opened by name for the program, or
// allocated. PrepareFaultSequence calls it.
void PrepareSymbolLookup();
}  // namespace crash
