#pragma once
// Small JSON writing helpers for the transcript.
#include <string>
#include <string_view>
#include <vector>

namespace harness::json {
// A JSON string literal. Bytes that are not valid UTF-8 are written as the characters of the
// same number (as Latin-1 text), so the output is always valid JSON.
std::string Quote(std::string_view text);
std::string Array(const std::vector<std::string>& texts);  // strings, quoted
// {"a": x, "b": y} from keys and already-written values.
std::string Object(const std::vector<std::pair<std::string, std::string>>& members);
}  // namespace harness::json
