// List column formats and display pictures, as lists and entries show them.
// Rules: any format and picture are read without fault; a string picture "@s<n>" shows at most
// n bytes, a prefix of the text cut on a character boundary; a number picture never shows
// more than its width.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/utf8_reference.h"
#include "platform/rt/list_format.h"

namespace {

// The width a picture states after its kind letter, fill letter and sign; 0 when none.
std::size_t StatedWidth(std::string_view layout) {
  std::size_t i = 0;
  if (i < layout.size() && layout[i] == '-') ++i;
  if (i < layout.size() && (layout[i] == '0' || layout[i] == '_')) ++i;
  std::size_t width = 0;
  for (; i < layout.size() && layout[i] >= '0' && layout[i] <= '9' && width < 100000; ++i) {
    width = width * 10 + static_cast<std::size_t>(layout[i] - '0');
  }
  return width;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  const std::string picture = input.Text();
  const std::string value = input.Text();
  const std::string format = input.Rest();

  for (const auto& column : rt::ParseListFormat(format)) rt::FormatPicture(value, column.picture);
  const std::string shown = rt::FormatPicture(value, picture);

  if (picture.size() >= 2 && picture[0] == '@' && (picture[1] == 's' || picture[1] == 'S')) {
    const std::size_t width = StatedWidth(picture.substr(2));
    FUZZ_CHECK(shown.size() <= width || shown == value);
    FUZZ_CHECK(value.starts_with(shown));
    if (fuzz::IsValidUtf8(value)) FUZZ_CHECK(fuzz::IsValidUtf8(shown));
  }
  if (picture.size() >= 2 && picture[0] == '@' && (picture[1] == 'n' || picture[1] == 'N')) {
    const std::size_t width = StatedWidth(picture.substr(2));
    if (width > 0) FUZZ_CHECK(shown.size() <= width, "[" + fuzz::Shown(shown) + "] for " + fuzz::Shown(picture));
  }
  return 0;
}
