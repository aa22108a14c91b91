#pragma once
// kernel32's fine timing: the performance counter and Sleep.
//
// The counter runs on the monotonic clock in ticks of 100 ns (10 MHz), the tick of the
// platform the program was designed for, so waits counted in ticks last as long as designed.
#include <cstdint>

#include "platform/win/types.h"

BOOL QueryPerformanceFrequency(std::int64_t* frequency);
BOOL QueryPerformanceCounter(std::int64_t* count);
// Suspends the calling thread for at least `milliseconds` (0: gives up the time slice).
void Sleep(DWORD milliseconds);
