#include "platform/win/system/format_message.h"

#include <cstring>

#include "platform/win/system/last_error.h"

namespace {
struct SystemText {
  DWORD code;
  const char* text;
};

// The few system errors the program can meet, in the wording users of the original know.
constexpr SystemText kTexts[] = {
    {0, "The operation completed successfully."},
    {1, "Incorrect function."},
    {2, "The system cannot find the file specified."},
    {3, "The system cannot find the path specified."},
    {4, "The system cannot open the file."},
    {5, "Access is denied."},
    {6, "The handle is invalid."},
    {8, "Not enough memory resources are available to process this command."},
    {13, "The data is invalid."},
    {19, "The media is write protected."},
    {32, "The process cannot access the file because it is being used by another process."},
    {80, "The file exists."},
    {87, "The parameter is incorrect."},
    {109, "The pipe has been ended."},
    {112, "There is not enough space on the disk."},
    {120, "This function is not supported on this system."},
    {122, "The data area passed to a system call is too small."},
    {126, "The specified module could not be found."},
    {127, "The specified procedure could not be found."},
    {170, "The requested resource is in use."},
    {183, "Cannot create a file when that file already exists."},
    {206, "The filename or extension is too long."},
    {234, "More data is available."},
    {259, "No more data is available."},
    {1400, "Invalid window handle."},
    {1812, "The specified image file did not contain a resource section."},
    {1813, "The specified resource type cannot be found in the image file."},
};
}  // namespace

std::string SystemErrorText(DWORD code) {
  for (const auto& row : kTexts) {
    if (row.code == code) return std::string(row.text) + "\r\n";
  }
  // Codes made from errno values that have no classic number.
  if (code > 0x00010000u && code < 0x00020000u) {
    return std::string(std::strerror(static_cast<int>(code - 0x00010000u))) + ".\r\n";
  }
  return {};
}

std::string SystemErrorSentence(DWORD code) {
  std::string text = SystemErrorText(code);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

DWORD FormatMessageA(DWORD flags, const void* /*source*/, DWORD messageId, DWORD /*languageId*/,
                     char* buffer, DWORD size, void* /*arguments*/) {
  if ((flags & FORMAT_MESSAGE_FROM_SYSTEM) == 0 || buffer == nullptr) {
    SetLastError(87);
    return 0;
  }
  std::string text = SystemErrorText(messageId);
  if (text.empty()) {
    SetLastError(317);  // ERROR_MR_MID_NOT_FOUND
    return 0;
  }
  if (text.size() + 1 > size) {
    SetLastError(122);
    return 0;
  }
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<DWORD>(text.size());
}
