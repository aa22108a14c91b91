#include "platform/win/code_page.h"

#include <cstdint>

#include "platform/win/code_page_output.h"
#include "platform/win/iconv_code_page.h"
#include "platform/win/last_error.h"
#include "platform/win/utf8_codec.h"

using win::codepage::Output;

namespace {

// The answer of both calls: the count when it fitted (or was only asked for).
template <class Unit>
int Answer(const Output<Unit>& out) {
  if (!out.Fitted()) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (out.Count() > static_cast<std::size_t>(INT32_MAX)) {
    SetLastError(ERROR_INVALID_PARAMETER);  // more than a count can say
    return 0;
  }
  return static_cast<int>(out.Count());
}

bool Refused(DWORD flags, const void* source, int sourceCount, const void* destination, int destinationCount) {
  if (flags != 0) {
    SetLastError(ERROR_INVALID_FLAGS);
    return true;
  }
  if (source == nullptr || sourceCount <= 0 || destinationCount < 0 ||
      (destinationCount > 0 && destination == nullptr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return true;
  }
  return false;
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, const char* multiByteStr, int multiByteCount, WCHAR* wideStr,
                        int wideCount) {
  if (Refused(flags, multiByteStr, multiByteCount, wideStr, wideCount)) return 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(multiByteStr);
  Output<char16_t> out(wideStr, static_cast<std::size_t>(wideCount));
  if (codePage == CP_UTF8) {
    win::codepage::DecodeUtf8(bytes, static_cast<std::size_t>(multiByteCount), out);
  } else {
    auto page = win::codepage::FindIconvPage(codePage);
    if (page == nullptr) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    page->Decode(bytes, static_cast<std::size_t>(multiByteCount), out);
  }
  return Answer(out);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, const WCHAR* wideStr, int wideCount, char* multiByteStr,
                        int multiByteCount, const char* defaultChar, BOOL* usedDefaultChar) {
  if (Refused(flags, wideStr, wideCount, multiByteStr, multiByteCount)) return 0;
  Output<char> out(multiByteStr, static_cast<std::size_t>(multiByteCount));
  if (codePage == CP_UTF8) {
    // UTF-8 holds every character: it has no default character to choose or report.
    if (defaultChar != nullptr || usedDefaultChar != nullptr) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    win::codepage::EncodeUtf8(wideStr, static_cast<std::size_t>(wideCount), out);
    return Answer(out);
  }
  auto page = win::codepage::FindIconvPage(codePage);
  if (page == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  bool replaced = false;
  std::string_view replacement = defaultChar != nullptr ? std::string_view(defaultChar) : std::string_view();
  page->Encode(wideStr, static_cast<std::size_t>(wideCount), out, replacement, replaced);
  if (usedDefaultChar != nullptr) *usedDefaultChar = replaced ? TRUE : FALSE;
  return Answer(out);
}
