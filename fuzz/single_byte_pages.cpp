// Single-byte code pages straight to and from UTF-8 (what AnsiToUtf8 and Utf8ToAnsi use).
// Rules: for any bytes, each direction gives exactly what MultiByteToWideChar and
// WideCharToMultiByte give through UTF-16, within the room it is promised (3 bytes a byte
// to UTF-8, 1 byte a byte from it; the sanitizer sees any byte beyond).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "platform/codepages/single_byte_page.h"
#include "platform/win/system/code_page.h"

namespace {

constexpr UINT kPages[] = {0, 437, 850, 866, 874, 1250, 1251, 1252, 1253, 1254, 1256, 1257, 20127};

std::optional<std::string> ThroughUtf16(UINT from, const std::string& text, UINT to) {
  const int n = static_cast<int>(text.size());
  const int units = MultiByteToWideChar(from, 0, text.data(), n, nullptr, 0);
  if (units == 0) return std::nullopt;
  std::u16string utf16(static_cast<std::size_t>(units), u'\0');
  MultiByteToWideChar(from, 0, text.data(), n, utf16.data(), units);
  const int bytes = WideCharToMultiByte(to, 0, utf16.data(), units, nullptr, 0, nullptr, nullptr);
  if (bytes == 0) return std::nullopt;
  std::string out(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(to, 0, utf16.data(), units, out.data(), bytes, nullptr, nullptr);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  const UINT page = kPages[input.Below(std::size(kPages))];
  const bool toUtf8 = input.Below(2) == 0;
  const std::string text = input.Rest();
  if (text.empty()) return 0;
  const auto tables = codepages::FindSingleBytePage(page);
  FUZZ_CHECK(tables != nullptr, std::to_string(page));
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t room = toUtf8 ? 3 * text.size() : text.size();
  const auto out = std::make_unique<char[]>(room);
  const std::size_t written = toUtf8 ? codepages::SingleByteToUtf8(*tables, bytes, text.size(), out.get())
                                     : codepages::Utf8ToSingleByte(*tables, bytes, text.size(), out.get());
  const std::optional<std::string> expected =
      toUtf8 ? ThroughUtf16(page, text, CP_UTF8) : ThroughUtf16(CP_UTF8, text, page);
  FUZZ_CHECK(expected.has_value() && std::string(out.get(), written) == *expected, std::to_string(page));
  return 0;
}
