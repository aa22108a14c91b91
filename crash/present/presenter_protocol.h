#pragma once
// What the faulting process tells its presenting process over the pipe: first the fault (a
// header and the reporter's properties), then, once it is written, the report and whether
// its file was written. The two processes are the same program file, so the properties
// travel as the bytes of their structure (FaultscribeProperties).
#include <cstdint>

#include "crash/faultscribe.h"

namespace crash {

inline constexpr const char* kPresenterSwitch = "/FaultscribePresent";
inline constexpr int kPresenterPipeFd = 3;  // where the presenting process finds the pipe
inline constexpr std::uint32_t kFaultMagic = 0x46534352;  // "FSCR"
inline constexpr std::uint32_t kLevelsMagic = 0x4653564C;  // "FSVL": a ReportHeader whose length is LevelsDone

struct FaultHeader {
  std::uint32_t magic;
  std::uint32_t exceptionCode;
  std::uint32_t propertyBytes;
  std::uint8_t openWaitWindow;
};

struct ReportHeader {
  std::uint32_t magic;
  std::uint32_t length;
  std::int32_t reportFileReason;  // 0: the report file was written; else why not (report_file.h)
};

}  // namespace crash
