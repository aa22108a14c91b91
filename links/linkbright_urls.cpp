// The text forms of a link target: the display-name form of an e-mail address, an HTML
// anchor, the text between two markers, and the escaping of e-mail URLs.
#include <cctype>
#include <cstdio>

#include "links/link_text.h"
#include "links/linkbright_class.h"
#include "platform/win/system/ascii_text.h"

using links::Clip;
using links::Contains;

namespace {

bool IsHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

// The fields of a mailto URL whose "?" or "&" a mail program must see as they are.
bool StartsMailField(std::string_view rest) {
  for (std::string_view field : {"body", "subject", "cc", "bcc"}) {
    if (win::StartsWithNoCase(rest, field)) return true;
  }
  return false;
}

bool NeedsEscape(const std::string& text, size_t index) {
  unsigned char c = static_cast<unsigned char>(text[index]);
  if (c <= 32 || c == ';' || c == '<' || c == '>') return true;
  if (c == '%') {
    return !(index + 2 < text.size() && IsHexDigit(text[index + 1]) && IsHexDigit(text[index + 2]));
  }
  if (c == '?' || c == '&') return !StartsMailField(std::string_view(text).substr(index + 1));
  return false;
}

}  // namespace

std::string vrLinkbrightClass::GetListURL(LONG LinkbrightControl, const std::string& LinkbrightURL,
                                          std::optional<std::string> FirstEmailName,
                                          std::optional<std::string> LastEmailName) {
  if (Disable || !ItemQ) return {};
  ItemQ->Buffer().Control = LinkbrightControl;
  bool found = ItemQ->Buffer().Column != 0 ? ItemQ->Get(&LinkItemRow::Control, &LinkItemRow::Column)
                                           : ItemQ->Get(&LinkItemRow::Control);
  std::string result;
  if (found) {
    if (!Contains(LinkbrightURL, "@") || !FirstEmailName) {
      result = LinkbrightURL;
    } else {
      std::string first = Clip(*FirstEmailName);
      result = "\"" + first;
      if (LastEmailName && !Clip(*LastEmailName).empty()) result += (first.empty() ? "" : " ") + Clip(*LastEmailName);
      result += " <" + Clip(LinkbrightURL) + ">\"";
    }
  }
  ListURL = links::Fit(result, links::kUrlWidth);
  return ListURL;
}

std::string vrLinkbrightClass::GetHTMLString(const std::string& StringSent, std::optional<LONG> Options,
                                             std::optional<std::string> /*Reserved*/) {
  if (Disable) return {};
  LONG options = Options.value_or(0);
  std::string prefix, suffix;
  if (options == 0) {
    if (Contains(StringSent, "<a href=")) return Clip(StringSent);
    if (StringSent.starts_with('"')) {
      prefix = "<a href=";
      suffix = ">";
    } else {
      prefix = "<a href=\"";
      suffix = "\">";
    }
  } else if (options == 1) {
    prefix = suffix = "\"";
  }
  std::string text = Clip(StringSent);
  std::string address;
  // A web address with a scheme stays one even when it holds "@" (a user in the URL).
  bool webWithScheme = win::StartsWithNoCase(text, "http://") || win::StartsWithNoCase(text, "https://");
  if (Contains(text, "@") && !webWithScheme) {
    address = Contains(text, "mailto:") ? text : "mailto:" + text;
  } else {
    address = Contains(text, "http://") || webWithScheme ? text : "http://" + text;
  }
  return prefix + address.substr(0, 1023) + suffix;
}

std::string vrLinkbrightClass::FormatString(const std::string& ToBeFormatted, const std::string& Surround) {
  if (Disable) return {};
  long long first = static_cast<long long>(links::Position(ToBeFormatted, Surround));
  long long second = static_cast<long long>(links::Position(ToBeFormatted, Surround, static_cast<size_t>(first + 1)));
  if (first < second - 2) return ToBeFormatted.substr(static_cast<size_t>(first), static_cast<size_t>(second - first - 1));
  if (first == second - 2) return ToBeFormatted.substr(static_cast<size_t>(first), 1);
  return {};
}

void vrLinkbrightClass::MakeEmailURLSafe() {
  if (Disable) return;
  Debug("b4 MakeEmailURLSafe self.URLToRun:\r\n" + Clip(URLToRun));
  std::string text = links::Fit(URLToRun, links::kUrlWidth);
  // With a body part only the body is escaped: the scan starts at its "b".
  size_t body = win::Lower(text).find("&body=");
  size_t i = body == std::string::npos ? 0 : body + 1;  // characters before index i are done
  while (i < text.size()) {
    if (NeedsEscape(text, i)) {
      char digits[4];
      std::snprintf(digits, sizeof digits, "%%%02X", static_cast<unsigned char>(text[i]));
      text.replace(i, 1, digits);
      if (text.size() > links::kUrlWidth) text.resize(links::kUrlWidth);  // the field's width
      i += 3;
    } else {
      ++i;
    }
  }
  if (!text.empty() && text.front() == '"' && text.back() == '"') {
    text = text.size() >= 2 ? text.substr(1, text.size() - 2) : std::string();
  }
  URLToRun = text;
  Debug("b4 MakeEmailURLSafe self.URLToRun:\r\n" + Clip(URLToRun));
}

namespace links {

std::string CallForm(const std::string& target, LONG skypeFunction) {
  static constexpr const char* kForms[] = {"?call", "?chat", "?add", "?voicemail", "?userinfo"};
  std::string text = Clip(target);
  if (text.empty() || skypeFunction < 1 || skypeFunction > 5) return text;
  return "skype:" + text + kForms[skypeFunction - 1];
}

}  // namespace links
