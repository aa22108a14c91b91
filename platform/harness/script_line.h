#pragma once
// One line of a screen script, cut into words, numbers and quoted texts.
//   select ALLCABLIST 3
//   set GLO:CABNAME "My \"best\" cab"
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace harness {

struct ScriptToken {
  std::string text;
  bool quoted = false;
};

// The tokens of a line; an empty list for a blank line or a comment ("#" first); nullopt
// when a quoted text is not closed. In quoted text \" is a quote and \\ a backslash.
std::optional<std::vector<ScriptToken>> SplitScriptLine(std::string_view line);

}  // namespace harness
