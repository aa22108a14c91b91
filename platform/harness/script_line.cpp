#include "platform/harness/script_line.h"

namespace harness {

std::optional<std::vector<ScriptToken>> SplitScriptLine(std::string_view line) {
  std::vector<ScriptToken> tokens;
  std::size_t i = 0;
  auto blank = [&](std::size_t k) { return line[k] == ' ' || line[k] == '\t' || line[k] == '\r' || line[k] == '\n'; };
  while (i < line.size() && blank(i)) ++i;
  if (i < line.size() && line[i] == '#') return tokens;
  while (i < line.size()) {
    if (blank(i)) {
      ++i;
      continue;
    }
    ScriptToken token;
    if (line[i] == '"') {
      token.quoted = true;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char c = line[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) c = line[i++];
        token.text += c;
      }
      if (!closed) return std::nullopt;
    } else {
      while (i < line.size() && !blank(i)) token.text += line[i++];
    }
    tokens.push_back(std::move(token));
  }
  return tokens;
}

}  // namespace harness
