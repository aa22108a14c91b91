#pragma once
// The fine clock: the time of day in the platform clock's units (hundredths of a second,
// counted from 1 at midnight) with a fraction, from a high-resolution counter anchored to a
// tick of CLOCK(); its text form; and a sleep counted in hundredths.
#include <string>

#include "platform/win/types.h"

// Suspends the calling thread for hundredths x 10 milliseconds, cut toward zero; a negative
// or unusable time sleeps 0.
void kx_Sleep(REAL hundredths);

// useCpuTimeStamp 0 reads the performance counter (CLOCK() itself when there is none),
// otherwise the processor's time-stamp counter. resyncTime non-zero anchors afresh first.
// The value keeps growing past midnight until the next resync. Any thread may call it.
REAL kx_FastClock(BYTE useCpuTimeStamp, BYTE resyncTime);

// "hh:mm:ss." and `places` decimals of the second (0 to 18, cut, not rounded) of the time of
// day in fastTime (taken modulo one day).
std::string kx_FormatFastTime(REAL fastTime, LONG places = 6);
