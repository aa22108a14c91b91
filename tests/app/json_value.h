#pragma once
// A small JSON reader for the transcripts the scripted screen writes.
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace app_test {

// A value fills the field of its kind; null fills none.
struct Json {
  bool boolean = false;
  double number = 0;
  std::string text;
  std::vector<Json> items;
  std::map<std::string, Json> members;

  bool Has(const std::string& key) const { return members.count(key) != 0; }
  // Member or item; a missing one is null, so look-ups chain.
  const Json& operator[](const std::string& key) const;
  const Json& operator[](std::size_t index) const;
};

// Null when the text is not JSON.
Json ParseJson(std::string_view text);

}  // namespace app_test
