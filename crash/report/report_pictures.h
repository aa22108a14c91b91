#pragma once
// The runtime's time and date pictures as the report writes them, without the heap.
// Times (CLOCK() hundredths from 1 at midnight): "t1" hh:mm, "t4" hh:mm:ss (any other
// picture is written as "t4"). Dates (TODAY() days): "@d1" mm/dd/yy, "@d2" mm/dd/yyyy,
// "@d5" dd/mm/yy, "@d6" dd/mm/yyyy, "@d9" yy/mm/dd, "@d10" yyyy/mm/dd, "@d11" yymmdd,
// "@d12" yyyymmdd (any other picture is written as "@d10"). An "@" is optional, case and
// trailing blanks do not count.
#include <string_view>

#include "crash/fixed_text.h"
#include "platform/win/types.h"

namespace crash {
void AppendTime(BoundedText<64>& out, LONG clock, std::string_view picture);
void AppendDate(BoundedText<64>& out, LONG today, std::string_view picture);
}  // namespace crash
