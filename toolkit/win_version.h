#pragma once
// A one-line description of the running system: edition name, edition suffixes, version
// numbers and service-pack text. On Linux the name is "Linux" and the numbers and text are
// those of the kernel release.
#include <string>

#include "platform/win/system/version_info.h"
#include "platform/win/types.h"

// description non-zero: "name major.minor.build service-pack"; 0: the three numbers run together.
std::string kx_GetWinVersionEx(LONG description);
std::string kx_GetWinVersion();

namespace toolkit {
// What the description is made from: the system's version records and the edition tests.
struct VersionFacts {
  OSVERSIONINFOA plain;
  bool extendedRead = false;
  OSVERSIONINFOEXA extended;
  LONG mediaCenter = 0;
  LONG tablet = 0;
  LONG terminalServer = 0;
  LONG starter = 0;
};
std::string DescribeVersion(const VersionFacts& facts, LONG description);
}  // namespace toolkit
