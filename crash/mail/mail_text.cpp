#include "crash/mail/mail_text.h"

#include "toolkit/clip.h"

namespace crash {

LONG MaxEmailLenFor(std::string_view winVersion) {
  // The version text pads its edition names with blanks ("Win 95  -"), so the first seven
  // characters are compared without their trailing blanks.
  std::string_view edition = Clip(winVersion.substr(0, 7));
  if (edition == "Win 3.1" || edition == "Win 95" || edition == "Win 98") return 438;
  if (edition == "Win NT") return 227;
  return 2007;
}

namespace {

// The escape of one character of the body, or nothing when it goes as it is. "&Body" is
// the one ampersand left alone: it starts the body field of the link.
std::string_view EscapeOf(std::string_view text, std::size_t at) {
  switch (text[at]) {
    case '&': return text.substr(at, 5) == "&Body" ? std::string_view{} : "%26";
    case '\r': return "%0D";
    case '\n': return "%0A";
    case '\t': return "%09";
    case '"': return "%22";
    // A raw "%" followed by two hexadecimal digits would be decoded by the mail program, and
    // "#" would end the body there.
    case '%': return "%25";
    case '#': return "%23";
    default: return {};
  }
}

bool Unreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~';
}

}  // namespace

std::string EncodeEmail(std::string_view text) {
  text = text.substr(0, kMailBodyWidth);
  std::string body;
  body.reserve(kMailBodyWidth);
  for (std::size_t at = 0; at < text.size(); ++at) {
    std::string_view escape = EscapeOf(text, at);
    std::size_t grows = escape.empty() ? 1 : escape.size();
    if (body.size() + grows > kMailBodyWidth) break;
    if (escape.empty()) {
      body += text[at];
    } else {
      body += escape;
    }
  }
  return body;
}

LONG FindFirstBreak(std::string_view text, LONG maxLen) {
  if (maxLen < static_cast<LONG>(kEncodedBreak.size())) return 0;
  std::size_t lastStart = static_cast<std::size_t>(maxLen) - kEncodedBreak.size();
  std::size_t found = text.rfind(kEncodedBreak, lastStart);
  return found == std::string_view::npos ? 0 : static_cast<LONG>(found + 1);
}

std::string MailtoField(std::string_view text) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string field;
  field.reserve(text.size() * 3);
  for (unsigned char c : text) {
    if (Unreserved(c) || c == '@') {
      field += static_cast<char>(c);
    } else {
      field += '%';
      field += kDigits[c >> 4];
      field += kDigits[c & 15];
    }
  }
  return field;
}

}  // namespace crash
