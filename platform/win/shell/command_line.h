#pragma once
// Splits a command line into the program's arguments by the quoting rules programs of the
// designed platform follow: blanks and tabs separate arguments; double quotes group text
// (and are removed); 2n backslashes before a quote give n backslashes and the quote groups,
// 2n+1 give n backslashes and a literal quote; any other backslash is an ordinary character.
// Nothing else is special: ";", "$()", backquotes and single quotes are plain text.
#include <string>
#include <string_view>
#include <vector>

namespace win {
std::vector<std::string> SplitCommandLine(std::string_view line);
// The argument quoted so that SplitCommandLine gives it back whole and unchanged.
std::string QuoteArgument(std::string_view argument);
}  // namespace win
