#pragma once
// One registry value in one call, as text or as a number by the value's type.
#include <string>
#include <string_view>
#include <variant>

#include "platform/win/system/registry.h"
#include "platform/win/types.h"

// Text for the string types (without the closing NUL) and REG_BINARY; a number for the
// DWORD types; the number 0 for any other type and for any failure (recorded as
// 0xA0000045 with the system's text). Values longer than 255 bytes fail.
using kx_RegValue = std::variant<LONG, std::string>;
kx_RegValue kx_GetReg(HKEY rootKey, std::string_view valueName, std::string_view keyPath);

// The value as a caller that expects text reads it: a number is written in decimal.
std::string kx_RegText(const kx_RegValue& value);
