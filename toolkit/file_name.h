#pragma once
// Inside the toolkit: a file name as the system receives it.
#include <optional>
#include <string>
#include <string_view>

#include "platform/win/system/last_error.h"
#include "toolkit/clip.h"

// The name without trailing blanks; none (last error ERROR_INVALID_PARAMETER) when it holds
// a NUL byte, which the system would take as its end and so reach another file.
inline std::optional<std::string> SystemFileName(std::string_view name) {
  std::string_view clipped = Clip(name);
  if (clipped.find('\0') != std::string_view::npos) {
    SetLastError(87);
    return std::nullopt;
  }
  return std::string(clipped);
}
