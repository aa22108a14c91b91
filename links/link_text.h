#pragma once
// Text helpers of the link class: fixed-width fields are kept clipped and cut to their width.
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/types.h"

namespace links {

inline constexpr size_t kUrlWidth = 4096;      // URLToRun, URL, ListURL, the registry subkey
inline constexpr size_t kFormatWidth = 255;    // a remembered column format

// Without trailing blanks.
std::string Clip(std::string_view text);
// Clipped and cut to `width` characters, as a fixed-width field keeps it.
std::string Fit(std::string_view text, size_t width);
bool Contains(std::string_view text, std::string_view part);
// 1-based position of `part` from `from` (1-based), 0 when absent.
size_t Position(std::string_view text, std::string_view part, size_t from = 1);
// A text's leading number, as a numeric field takes a text (blank or no digits: 0).
long long NumberOf(std::string_view text);
// A number as the trace lines write it.
inline std::string N(long long value) { return std::to_string(value); }

}  // namespace links

namespace links {
// A link target in the internet-call form its row asks for (SkypeFunction 1 to 5); any
// other number leaves it as it is.
std::string CallForm(const std::string& target, LONG skypeFunction);
}  // namespace links

namespace links {
// A move table as ChangeColumn takes it: 256 bytes, up to 64 numbers little-endian.
std::string MoveTableBytes(const std::vector<LONG>& numbers);
}  // namespace links
