#pragma once
// With DebugEmail set, every link the reporter runs is also written to a file, so the
// developer sees exactly what the mail program was given: the only or first link replaces
// the file, each later part follows after an empty line.
#include <string_view>

#include "crash/mail/mail_roads.h"
#include "platform/win/types.h"

namespace crash {
// 0 when written, else the toolkit's error code (kx_String2File).
LONG WriteDebugEmailCopy(std::string_view fileName, const MailLink& link);
}  // namespace crash
