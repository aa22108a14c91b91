// Code-page conversion on any bytes, through the platform calls and Textrope.
// Rules: UTF-8 decodes as the reference decoder reads it (one U+FFFD per maximal ill-formed
// subsequence) and valid UTF-8 comes back byte for byte; the sizing call gives the size the
// filling call fills; a single-byte page decodes each byte to one unit, and the ANSI pages
// that define every byte give every byte back; whatever converts is valid UTF-8.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/utf8_reference.h"
#include "platform/win/system/code_page.h"
#include "textrope/textrope.h"

namespace {

constexpr UINT kPages[] = {65001, 0, 20127, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 437, 850, 932, 936, 949, 950};

std::vector<WCHAR> ToWide(UINT page, const std::string& bytes) {
  const int count = static_cast<int>(bytes.size());
  const int needed = MultiByteToWideChar(page, 0, bytes.data(), count, nullptr, 0);
  if (bytes.empty()) {
    FUZZ_CHECK(needed == 0);
    return {};
  }
  FUZZ_CHECK(needed > 0);
  std::vector<WCHAR> wide(static_cast<std::size_t>(needed));
  FUZZ_CHECK(MultiByteToWideChar(page, 0, bytes.data(), count, wide.data(), needed) == needed);
  // One unit short is refused, never cut.
  if (needed > 1) FUZZ_CHECK(MultiByteToWideChar(page, 0, bytes.data(), count, wide.data(), needed - 1) == 0);
  return wide;
}

std::string ToBytes(UINT page, const std::vector<WCHAR>& wide) {
  if (wide.empty()) return {};
  const int count = static_cast<int>(wide.size());
  const int needed = WideCharToMultiByte(page, 0, wide.data(), count, nullptr, 0, nullptr, nullptr);
  FUZZ_CHECK(needed > 0);
  std::string bytes(static_cast<std::size_t>(needed), '\0');
  FUZZ_CHECK(WideCharToMultiByte(page, 0, wide.data(), count, bytes.data(), needed, nullptr, nullptr) == needed);
  return bytes;
}

std::u32string CodePoints(const std::vector<WCHAR>& wide) {
  std::u32string codes;
  for (std::size_t i = 0; i < wide.size(); ++i) {
    char32_t unit = wide[i];
    if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] < 0xE000) {
      unit = 0x10000 + ((unit - 0xD800) << 10) + (wide[++i] - 0xDC00);
    }
    codes += unit;
  }
  return codes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  const UINT page = kPages[input.Below(std::size(kPages))];
  const std::string bytes = input.Rest();

  const std::vector<WCHAR> fromUtf8 = ToWide(65001, bytes);
  FUZZ_CHECK(CodePoints(fromUtf8) == fuzz::DecodeUtf8(bytes));
  if (fuzz::IsValidUtf8(bytes)) FUZZ_CHECK(ToBytes(65001, fromUtf8) == bytes);
  FUZZ_CHECK(fuzz::IsValidUtf8(ToBytes(65001, fromUtf8)));

  const std::vector<WCHAR> decoded = ToWide(page, bytes);
  // 1255 and 1258 compose a letter with the combining mark after it; the multi-byte pages
  // take two bytes for one character.
  const bool unitPerByte = page != 65001 && page != 1255 && page != 1258 && page < 932;
  if (unitPerByte) FUZZ_CHECK(decoded.size() == bytes.size(), "page " + std::to_string(page));
  const bool everyByteDefined = page == 0 || page == 1250 || page == 1251 || page == 1252 || page == 1254 || page == 1256;
  const std::string encoded = ToBytes(page, decoded);
  if (everyByteDefined) FUZZ_CHECK(encoded == bytes, "page " + std::to_string(page));
  // Whatever the page decodes to, UTF-8 holds it.
  FUZZ_CHECK(fuzz::IsValidUtf8(ToBytes(65001, decoded)));

  Textrope t;
  LONG length = 0;
  if (auto utf8 = t.AnsiToUtf8(bytes, length, page)) {
    FUZZ_CHECK(fuzz::IsValidUtf8(*utf8));
    FUZZ_CHECK(static_cast<std::size_t>(length) == utf8->size());
    t.Utf8ToAnsi(*utf8, length, page);
  }
  LONG units = 0;
  if (auto utf16 = t.Utf8To16(bytes, units)) {
    LONG back = 0;
    t.Utf16To8(*utf16, units, back);
    t.Utf16ToAnsi(*utf16, units, back, page);
  }
  t.value = bytes;
  t.ToUnicode(1 + static_cast<LONG>(input.Byte() & 1), page);
  t.ToAnsi(0, page);
  return 0;
}
