#pragma once
// Faults on purpose, for the tests of the fault handling: each one faults as written, whatever
// the optimiser or the undefined-behaviour checks would make of it.
#include <sys/mman.h>

namespace deliberate {

// A read through the pointer (nullptr: a null read).
[[gnu::noinline, gnu::no_sanitize("undefined")]] inline int ReadThrough(volatile int* pointer) { return *pointer; }

// The empty statement after the call keeps it a call in optimised builds too (not a jump that
// leaves NullRead off the stack).
[[gnu::noinline]] inline void NullRead() {
  (void)ReadThrough(nullptr);
  asm volatile("");
}

// A write to a page mapped read-only; `page` receives its address first.
[[gnu::noinline]] inline void WriteReadOnly(void** page = nullptr) {
  void* mapped = mmap(nullptr, 4096, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (page != nullptr) *page = mapped;
  *static_cast<volatile int*>(mapped) = 1;
}

[[gnu::noinline, gnu::no_sanitize("undefined")]] inline void DivideByZero() {
  volatile int zero = 0;
  volatile int result = 7 / zero;  // not 1 / x, which compilers turn into a comparison
  (void)result;
}

inline void IllegalInstruction() { asm volatile("ud2"); }

// A call through a null function pointer: the instruction pointer lands in no module, with the
// call's return address at the stack pointer.
[[gnu::noinline]] inline void CallThroughNull() {
  void (*volatile target)() = nullptr;
  target();
}

inline void Breakpoint() { asm volatile("int3"); }

// Recursion until the stack runs out.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winfinite-recursion"
[[gnu::noinline]] inline int Recurse(int depth) {
  volatile char pad[512];
  pad[0] = static_cast<char>(depth);
  return Recurse(depth + 1) + pad[0];
}
#pragma GCC diagnostic pop

}  // namespace deliberate
