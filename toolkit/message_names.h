#pragma once
// Names of the window messages, for diagnostic lines only: "HW::WM_" followed by the
// message's SDK name, 183 rows sorted by number.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/types.h"

namespace hw {
struct WM_QRow {
  std::string T;  // the name, at most 25 characters
  LONG M = 0;     // the message number
};
// The table; read and change it only while holding the toolkit lock.
extern std::vector<WM_QRow> WM_Q;
}  // namespace hw

// Empties the table and fills it with every named message, sorted by number.
void kx_BuildWMQ();
// Appends one row (the name cut to 25 characters); no check for duplicates.
void kx_AddQ(std::string_view T, LONG M);

// The name of a message; the table is built first when it is empty. For a number with two
// names (0x100) the first added, WM_KEYDOWN, is given.
std::optional<std::string> kx_MessageName(LONG message);
