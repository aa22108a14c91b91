#include "platform/harness/json_text.h"

#include <cstdio>

namespace harness::json {
namespace {

// Length of the valid UTF-8 sequence at i, 0 when there is none.
std::size_t Utf8Length(std::string_view text, std::size_t i) {
  auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char lead = byte(i);
  // F5h-FFh never start a sequence: they would encode beyond U+10FFFF.
  std::size_t length = lead >= 0xF5 ? 0 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (length == 0 || i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  }
  if (lead == 0xE0 && byte(i + 1) < 0xA0) return 0;  // overlong
  if (lead == 0xED && byte(i + 1) >= 0xA0) return 0;  // surrogates
  if (lead == 0xF0 && byte(i + 1) < 0x90) return 0;
  if (lead == 0xF4 && byte(i + 1) >= 0x90) return 0;
  return length;
}

void Escape(std::string& out, unsigned int code) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "\\u%04x", code);
  out += buffer;
}

}  // namespace

std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      std::size_t length = Utf8Length(text, i);
      if (length > 0) {
        out.append(text.substr(i, length));
        i += length;
      } else {
        Escape(out, c);
        ++i;
      }
      continue;
    }
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          Escape(out, c);
        } else {
          out += static_cast<char>(c);
        }
    }
    ++i;
  }
  return out + "\"";
}

std::string Array(const std::vector<std::string>& texts) {
  std::string out = "[";
  for (std::size_t i = 0; i < texts.size(); ++i) out += (i ? ", " : "") + Quote(texts[i]);
  return out + "]";
}

std::string Object(const std::vector<std::pair<std::string, std::string>>& members) {
  std::string out = "{";
  for (std::size_t i = 0; i < members.size(); ++i) {
    out += (i ? ", " : "") + Quote(members[i].first) + ": " + members[i].second;
  }
  return out + "}";
}

}  // namespace harness::json
