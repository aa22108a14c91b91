// A line of a screen script, and the transcript text written about it.
// Rules: the tokens of a line, written back as a line (quoting where needed), split into the
// same tokens; every text the transcript writes is valid UTF-8 inside one JSON string.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/utf8_reference.h"
#include "platform/harness/json_text.h"
#include "platform/harness/script_line.h"

namespace {

std::string Written(const std::vector<harness::ScriptToken>& tokens) {
  std::string line;
  for (const auto& token : tokens) {
    if (!line.empty()) line += ' ';
    line += '"';
    for (char c : token.text) {
      if (c == '"' || c == '\\') line += '\\';
      line += c;
    }
    line += '"';
  }
  return line;
}

bool SameTexts(const std::vector<harness::ScriptToken>& a, const std::vector<harness::ScriptToken>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].text != b[i].text) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  if (auto tokens = harness::SplitScriptLine(line)) {
    auto again = harness::SplitScriptLine(Written(*tokens));
    FUZZ_CHECK(again.has_value() && SameTexts(*again, *tokens), Written(*tokens));
  }

  const std::string quoted = harness::json::Quote("line 1: unknown control " + line);
  FUZZ_CHECK(fuzz::IsValidUtf8(quoted));
  FUZZ_CHECK(quoted.size() >= 2 && quoted.front() == '"' && quoted.back() == '"');
  // Inside the quotes: no raw control byte, and every quote and backslash escaped.
  for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
    const auto c = static_cast<unsigned char>(quoted[i]);
    FUZZ_CHECK(c >= 0x20 && c != 0x7F);
    if (c == '\\') {
      ++i;
    } else {
      FUZZ_CHECK(c != '"');
    }
  }
  return 0;
}
