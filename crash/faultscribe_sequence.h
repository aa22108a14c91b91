#pragma once
// The fault sequence (FaultscribeClass::_VectoredExceptionHandler_, faultscribe_sequence.cpp)
// drives the fault path's stages in order: capture, resolve and format (the report text),
// write (the report file), present (the presenting process).
namespace crash {
// Makes ahead what each stage cannot make at fault time without the heap or a lock: the
// system's version text, the clock's zone, the bound stack-walk and look-up procedures, the
// module list, the program file's descriptor, the presenting process's argument vector.
// Construct calls it.
void PrepareFaultSequence();
}  // namespace crash
