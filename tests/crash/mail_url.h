#pragma once
// Reading a mailto link back the way a mail program does: head and body apart, percent
// escapes decoded.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace mailtest {

inline std::string PercentDecoded(std::string_view text) {
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  std::string decoded;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && digit(text[i + 1]) >= 0 && digit(text[i + 2]) >= 0) {
      decoded += static_cast<char>(digit(text[i + 1]) * 16 + digit(text[i + 2]));
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

struct MailLinkParts {
  std::string recipient;  // decoded
  std::string subject;    // decoded
  std::string body;       // as written in the link
};

// Splits "mailto:<to>?subject=<subject>&Body=<body>".
inline MailLinkParts SplitMailLink(std::string_view link) {
  MailLinkParts parts;
  std::size_t query = link.find("?subject=");
  std::size_t body = link.find("&Body=");
  if (link.substr(0, 7) != "mailto:" || query == std::string_view::npos || body == std::string_view::npos) return parts;
  parts.recipient = PercentDecoded(link.substr(7, query - 7));
  parts.subject = PercentDecoded(link.substr(query + 9, body - query - 9));
  parts.body = std::string(link.substr(body + 6));
  return parts;
}

// The number of a part's subject ("... [PART 3]"), 0 for the only mail.
inline int PartNumber(std::string_view link) {
  std::string subject = SplitMailLink(link).subject;
  std::size_t open = subject.rfind(" [PART ");
  return open == std::string::npos ? 0 : std::atoi(subject.c_str() + open + 7);
}

// What the mails of one report carry, put together in their order and decoded: each body
// without its end marker ("[END]" of the only mail, "[END PART]" of a part).
inline std::string JoinedMailBody(std::vector<std::string> links) {
  std::sort(links.begin(), links.end(), [](const auto& a, const auto& b) { return PartNumber(a) < PartNumber(b); });
  std::string joined;
  for (const std::string& link : links) {
    std::string body = SplitMailLink(link).body;
    for (std::string_view end : {"[END PART]", "[END]"}) {
      if (body.ends_with(end)) {
        body.resize(body.size() - end.size());
        break;
      }
    }
    joined += body;
  }
  return PercentDecoded(joined);
}

}  // namespace mailtest
