#include "platform/win/system/code_page.h"

#include <cstdint>
#include <string_view>

#include "platform/codepages/iconv_code_page.h"
#include "platform/codepages/utf8_codec.h"
#include "platform/win/system/last_error.h"

namespace {

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

// Every call counts first. A sizing call (room 0) answers the count; a filling call writes
// only when the whole result fits.
template <class Write>
int Answer(std::size_t needed, int room, Write write) {
  if (needed > static_cast<std::size_t>(INT32_MAX)) {
    SetLastError(ERROR_INVALID_PARAMETER);  // more than a count can say
    return 0;
  }
  if (room == 0) return static_cast<int>(needed);
  if (needed > static_cast<std::size_t>(room)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  write();
  return static_cast<int>(needed);
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, const char* multiByteStr, int multiByteCount, WCHAR* wideStr,
                        int wideCount) {
  if (Refused(flags, multiByteStr, multiByteCount, wideStr, wideCount)) return 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(multiByteStr);
  const auto n = static_cast<std::size_t>(multiByteCount);
  if (codePage == CP_UTF8) {
    return Answer(codepages::Utf8DecodedUnits(bytes, n), wideCount,
                  [&] { codepages::DecodeUtf8(bytes, n, wideStr); });
  }
  auto page = codepages::FindIconvPage(codePage);
  if (page == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return Answer(page->DecodedUnits(bytes, n), wideCount, [&] { page->Decode(bytes, n, wideStr); });
}

int WideCharToMultiByte(UINT codePage, DWORD flags, const WCHAR* wideStr, int wideCount, char* multiByteStr,
                        int multiByteCount, const char* defaultChar, BOOL* usedDefaultChar) {
  if (Refused(flags, wideStr, wideCount, multiByteStr, multiByteCount)) return 0;
  const auto n = static_cast<std::size_t>(wideCount);
  if (codePage == CP_UTF8) {
    // UTF-8 holds every character: it has no default character to choose or report.
    if (defaultChar != nullptr || usedDefaultChar != nullptr) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    return Answer(codepages::Utf8EncodedBytes(wideStr, n), multiByteCount,
                  [&] { codepages::EncodeUtf8(wideStr, n, multiByteStr); });
  }
  auto page = codepages::FindIconvPage(codePage);
  if (page == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::string_view replacement = defaultChar != nullptr ? std::string_view(defaultChar) : std::string_view();
  bool replaced = false;
  const std::size_t needed = page->EncodedBytes(wideStr, n, replacement, usedDefaultChar ? &replaced : nullptr);
  if (usedDefaultChar != nullptr) *usedDefaultChar = replaced ? TRUE : FALSE;
  return Answer(needed, multiByteCount, [&] { page->Encode(wideStr, n, replacement, multiByteStr); });
}
