#pragma once
// The report's "Program" line for a program file: its path as the reporter keeps it, in a
// place of 160 characters, so a program that lies deep shows the front of its path.
#include <string>
#include <string_view>

#include "crash/faultscribe.h"

namespace crashtest {

inline std::string ProgramLine(std::string_view path) {
  decltype(FaultscribeClass::FileName) kept;
  kept = path;
  return "Program : " + std::string(kept.Clipped());
}

}  // namespace crashtest
