#pragma once
// Text of a system error code, as FormatMessageA with FORMAT_MESSAGE_FROM_SYSTEM gives it.
#include <string>

#include "platform/win/types.h"

inline constexpr DWORD FORMAT_MESSAGE_IGNORE_INSERTS = 0x00000200;
inline constexpr DWORD FORMAT_MESSAGE_FROM_SYSTEM = 0x00001000;

// Writes the text (ending in CR LF) into buffer, NUL-terminated, and returns its length
// without the NUL; 0 when the code has no text or the buffer is too small (last error set).
DWORD FormatMessageA(DWORD flags, const void* source, DWORD messageId, DWORD languageId, char* buffer,
                     DWORD size, void* arguments);

// The same text as a string; empty when the code has no text.
std::string SystemErrorText(DWORD code);
// The same text as one sentence for a message, without its line end; empty when none.
std::string SystemErrorSentence(DWORD code);
