// The escaping of e-mail URLs before a mail program gets them (the link class's Run).
// Rules: the result never grows beyond the 4096-character field; in the part that is
// escaped (from "&body=" on, else all of it) no blank, control byte, ";", "<" or ">" is left,
// and every "%" starts two hexadecimal digits; escaping an escaped text again changes nothing
// when nothing was cut.
#include <cctype>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "links/link_text.h"
#include "links/linkbright_class.h"
#include "platform/win/system/ascii_text.h"

namespace {

std::string Escaped(const std::string& url) {
  vrLinkbrightClass link;
  link.URLToRun = url;
  link.MakeEmailURLSafe();
  return link.URLToRun;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  const std::string url = input.Rest();
  const std::string once = Escaped(url);
  FUZZ_CHECK(once.size() <= links::kUrlWidth);

  const size_t body = win::Lower(once).find("&body=");
  const size_t from = body == std::string::npos ? 0 : body + 1;
  const bool cut = once.size() == links::kUrlWidth;
  for (size_t i = from; i < once.size(); ++i) {
    const auto c = static_cast<unsigned char>(once[i]);
    FUZZ_CHECK(c > 32, std::to_string(i));
    FUZZ_CHECK(c != ';' && c != '<' && c != '>', std::to_string(i));
    if (c == '%' && !(cut && i + 2 >= once.size())) {
      FUZZ_CHECK(i + 2 < once.size() && std::isxdigit(static_cast<unsigned char>(once[i + 1])) &&
                     std::isxdigit(static_cast<unsigned char>(once[i + 2])),
                 std::to_string(i));
    }
  }
  if (!cut && (once.empty() || once.front() != '"')) FUZZ_CHECK(Escaped(once) == once, once);
  return 0;
}
