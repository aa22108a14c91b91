#pragma once
// The address look-up window ("Lookup Address Utility"): the user types an address (any
// expression EVALUATE reads, such as "0414A98h"), and the window shows what the debug records
// say of it. Nothing in the program opens it; it is there for a developer with a report.
#include "crash/faultscribe.h"

namespace crash {
void RunLookupAddressWindow(FaultscribeClass& reporter);
}  // namespace crash
