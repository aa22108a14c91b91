#pragma once
// The event tracer: one readable diagnostic line per runtime or toolkit event (window,
// event number, text naming the event), written through kx_OutputDebugString, and only
// when "/debug" is on the command line. Tracing reads the toolkit's message slots without
// clearing them and never touches the thread's error state.
#include <string>
#include <string_view>

#include "platform/win/types.h"

// Window1 is cut to 40 characters and the composed text to 255. An event of 0 leaves the
// number out of the line.
void kx_Debug(std::string_view Window1, LONG Event1, LONG Field1, std::string_view Text1);
// Without window, event and field: the line is a blank and the text (how errors are traced).
void kx_Debug(std::string_view Text1);

// CLIP(Text1) & " " & CLIP(Desc) & ", Field()=" & Field2 & " " & the control's field equate
// ("?CONNECTBUTTON") on the target window.
std::string KX_ADDFIELDEQUATE(std::string_view Text1, std::string_view Desc, LONG Field2);

// The event the calling thread traced last (0 before any).
LONG kx_LastDebugEvent();
