#include <cstdint>
#include <cstring>
#include <string>
#include <typeinfo>

#include "platform/codepages/single_byte_page.h"
#include "platform/win/system/code_page.h"
#include "platform/win/system/last_error.h"
#include "textrope/byte_text.h"
#include "textrope/fresh_block.h"
#include "textrope/textrope.h"

namespace {

using Bytes = std::optional<std::string>;

// Counts of the system calls are ints; a longer text is refused like an empty one.
int CountOf(std::size_t n) { return n > static_cast<std::size_t>(INT32_MAX) ? 0 : static_cast<int>(n); }

// The units of a UTF-16 byte string, copied only when its bytes are not aligned for them.
class Utf16View {
 public:
  Utf16View(std::string_view bytes, std::size_t units) {
    if (reinterpret_cast<std::uintptr_t>(bytes.data()) % alignof(WCHAR) == 0) {
      units_ = reinterpret_cast<const WCHAR*>(bytes.data());
    } else {
      copy_.resize(units);
      std::memcpy(copy_.data(), bytes.data(), units * sizeof(WCHAR));
      units_ = copy_.data();
    }
  }
  const WCHAR* Units() const { return units_; }

 private:
  std::u16string copy_;
  const WCHAR* units_ = nullptr;
};

// The unit count to convert: never more than the string holds.
int UnitsToConvert(std::string_view unicodeString, LONG unicodeChars) {
  const std::size_t held = unicodeString.size() / 2;
  if (unicodeChars <= 0) return 0;
  return CountOf(std::min<std::size_t>(static_cast<std::size_t>(unicodeChars), held));
}

int ToUtf16(UINT codePage, std::string_view text, std::string* buffer, int units) {
  WCHAR* out = buffer != nullptr ? reinterpret_cast<WCHAR*>(buffer->data()) : nullptr;
  return MultiByteToWideChar(codePage, 0, text.data(), CountOf(text.size()), out, units);
}

int FromUtf16(UINT codePage, const Utf16View& units, int count, std::string* buffer) {
  char* out = buffer != nullptr ? buffer->data() : nullptr;
  int room = buffer != nullptr ? static_cast<int>(buffer->size()) : 0;
  return WideCharToMultiByte(codePage, 0, units.Units(), count, out, room, nullptr, nullptr);
}

// A single-byte page converts straight to and from UTF-8, in one pass and with the results
// of the way through UTF-16. Null where that way must be taken: other pages, texts whose
// emptiness or size the code-page calls refuse (they report the failure), and derived classes,
// which may replace the steps through UTF-16.
std::shared_ptr<const codepages::SingleByteTables> DirectPage(const Textrope& t, ULONG codePage,
                                                                   std::string_view text, std::size_t mostPerByte) {
  if (typeid(t) != typeid(Textrope)) return nullptr;
  if (text.empty() || text.size() > static_cast<std::size_t>(INT32_MAX) / mostPerByte) return nullptr;
  return codepages::FindSingleBytePage(codePage);
}

const unsigned char* Unsigned(std::string_view text) { return reinterpret_cast<const unsigned char*>(text.data()); }

}  // namespace

Bytes Textrope::AnsiToUtf16(std::string_view strAnsi, LONG& unicodeChars, ULONG codePage) {
  const std::string_view text = textrope::Clipped(strAnsi);
  unicodeChars = ToUtf16(codePage, text, nullptr, 0);
  if (unicodeChars == 0) {
    ErrorTrap("AnsiToUtf16", "There is no data to convert, the string length is zero");
    return std::nullopt;
  }
  std::string buffer(2 * static_cast<std::size_t>(unicodeChars), '\0');
  if (ToUtf16(codePage, text, &buffer, unicodeChars) == 0) {
    winErrorCode = static_cast<LONG>(GetLastError());
    ErrorTrap("AnsiToUtf16", "Converting ANSI String to Unicode failed.");
    unicodeChars = 0;
    return std::nullopt;
  }
  return buffer;
}

Bytes Textrope::Utf8To16(std::string_view strUtf8, LONG& unicodeChars) {
  unicodeChars = ToUtf16(CP_UTF8, strUtf8, nullptr, 0);
  if (unicodeChars == 0) {
    ErrorTrap("Utf8ToAnsi", "There is no data to convert, the string length is zero");
    return std::nullopt;
  }
  std::string buffer(2 * static_cast<std::size_t>(unicodeChars), '\0');
  if (ToUtf16(CP_UTF8, strUtf8, &buffer, unicodeChars) == 0) {
    winErrorCode = static_cast<LONG>(GetLastError());
    ErrorTrap("Utf8ToUtf16", "Conversion to UTF-16 failed");
    return std::nullopt;
  }
  return buffer;
}

Bytes Textrope::Utf16To8(std::string_view unicodeString, LONG unicodeChars, LONG& utf8Len) {
  const int count = UnitsToConvert(unicodeString, unicodeChars == 0 ? CountOf(unicodeString.size() / 2) : unicodeChars);
  const Utf16View units(unicodeString, static_cast<std::size_t>(count));
  utf8Len = FromUtf16(CP_UTF8, units, count, nullptr);
  if (utf8Len == 0) {
    ErrorTrap("Utf16To8", "The passed string did not contain any text to convert, or an API error occured");
    return std::nullopt;
  }
  std::string buffer(static_cast<std::size_t>(utf8Len), '\0');
  if (FromUtf16(CP_UTF8, units, count, &buffer) == 0) {
    winErrorCode = static_cast<LONG>(GetLastError());
    ErrorTrap("Utf16To8", "Could not convert the passed string");
    utf8Len = 0;
    return std::nullopt;
  }
  return buffer;
}

Bytes Textrope::Utf16ToAnsi(std::string_view unicodeString, LONG unicodeChars, LONG& ansiLen, ULONG codePage) {
  // A count beyond the string converts what the string holds; it never reads past it.
  const int count = UnitsToConvert(unicodeString, unicodeChars);
  const Utf16View units(unicodeString, static_cast<std::size_t>(count));
  ansiLen = FromUtf16(codePage, units, count, nullptr);
  if (ansiLen == 0) {
    winErrorCode = static_cast<LONG>(GetLastError());
    ErrorTrap("Utf16ToAnsi",
              "Cannot convert he string to ANSI, the length is zero, or an error occured calculating the length");
    return std::nullopt;
  }
  std::string buffer(static_cast<std::size_t>(ansiLen), '\0');
  if (FromUtf16(codePage, units, count, &buffer) == 0) {
    winErrorCode = static_cast<LONG>(GetLastError());
    ErrorTrap("Utf16ToAnsi", "Conversion from Unicode to ANSI failed");
    return std::nullopt;
  }
  return buffer;
}

Bytes Textrope::AnsiToUtf8(std::string_view strAnsi, LONG& utf8Len, ULONG pCodePage) {
  const std::string_view text = textrope::Clipped(strAnsi);
  if (auto page = DirectPage(*this, pCodePage, text, 3)) {
    std::string utf8 = textrope::FreshBlock(3 * text.size());
    utf8.resize(codepages::SingleByteToUtf8(*page, Unsigned(text), text.size(), utf8.data()));
    utf8Len = static_cast<LONG>(utf8.size());
    return utf8;
  }
  LONG count = 0;
  Bytes utf16 = AnsiToUtf16(strAnsi, count, pCodePage);
  if (!utf16) {
    Trace("AnsiToUtf8. Failed to convert to UTF-16");
    utf8Len = 0;
    return std::nullopt;
  }
  return Utf16To8(*utf16, count, utf8Len);
}

Bytes Textrope::Utf8ToAnsi(std::string_view strUtf8, LONG& ansiLen, ULONG pCodePage) {
  if (auto page = DirectPage(*this, pCodePage, strUtf8, 1)) {
    std::string ansi = textrope::FreshBlock(strUtf8.size());
    ansi.resize(codepages::Utf8ToSingleByte(*page, Unsigned(strUtf8), strUtf8.size(), ansi.data()));
    ansiLen = static_cast<LONG>(ansi.size());
    return ansi;
  }
  LONG count = 0;
  Bytes utf16 = Utf8To16(strUtf8, count);
  if (!utf16) {
    ansiLen = 0;
    return std::nullopt;
  }
  return Utf16ToAnsi(*utf16, count, ansiLen, pCodePage);
}

Bytes Textrope::ApiUtf8ToAnsi(std::string_view strUtf8, LONG& ansiLen) {
  return Utf8ToAnsi(strUtf8, ansiLen, CP_US_ASCII);
}

Bytes Textrope::ApiAnsiToUtf8(std::string_view strAnsi, LONG& utf8Len) {
  return AnsiToUtf8(strAnsi, utf8Len, CP_US_ASCII);
}

LONG Textrope::ToUnicode(LONG newEncoding, ULONG pCodePage) {
  if (encoding != 0) {
    Trace("String is not ANSI, can't convert it");
    return 0;
  }
  LONG count = 0;
  Bytes converted;
  if (newEncoding == 1) {
    converted = AnsiToUtf8(value, count, pCodePage);
  } else if (newEncoding == 2) {
    converted = AnsiToUtf16(value, count, pCodePage);
  } else {
    Trace("ToUnicode: invalid encoding");
    return 0;
  }
  if (!converted) {
    Trace("ToUnicode: encoded string is null, return false");
    return 0;
  }
  encoding = newEncoding;
  value = std::move(*converted);
  wideChars = count;
  return 1;
}

LONG Textrope::ToAnsi(LONG valueEncoding, ULONG pCodePage) {
  if (valueEncoding != 0) encoding = valueEncoding;
  LONG count = 0;
  Bytes converted;
  if (encoding == 1) {
    converted = Utf8ToAnsi(value, count, pCodePage);
  } else if (encoding == 2) {
    converted = Utf16ToAnsi(value, CountOf(value.size() / 2), count, pCodePage);
  } else {
    return 0;
  }
  if (!converted) return 0;
  value = std::move(*converted);
  encoding = 0;
  return 1;
}
