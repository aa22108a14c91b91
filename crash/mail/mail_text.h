#pragma once
// The texts of the report's mail: the length limit of one mailto link, the encoding of the
// report for a link's body, the search for a place to cut a long body, and the fields of the
// link's head.
#include <string>
#include <string_view>

#include "platform/win/types.h"

namespace crash {

// The mail body is worked on in a copy of this many characters; what encoding pushes past
// it is lost.
inline constexpr std::size_t kMailBodyWidth = 20000;

// A line break of the encoded body; parts of a long report end right after one.
inline constexpr std::string_view kEncodedBreak = "%0D%0A";

// The longest mailto link the system's shell takes, from the system's version text
// (kx_GetWinVersion): the old 16-bit-shell editions 438, "Win NT" 227, anything else 2007.
LONG MaxEmailLenFor(std::string_view winVersion);

// The report as a mailto body: CR, LF, TAB, the double quote, "%" and "#" become their
// percent escapes, and so does "&" unless "Body" follows it. Every other character stays.
// The result holds at most kMailBodyWidth characters and never ends inside an escape.
std::string EncodeEmail(std::string_view text);

// The 1-based position of the last encoded line break that ends at or before position
// maxLen of the text; 0 when there is none.
LONG FindFirstBreak(std::string_view text, LONG maxLen);

// A recipient or subject written into a mailto link: every byte but letters, digits,
// "-._~" and "@" percent-encoded, so blanks, angle brackets, "?", "&", "#" and "%" of a
// display name or window title reach the mail program as they stand.
std::string MailtoField(std::string_view text);

}  // namespace crash
