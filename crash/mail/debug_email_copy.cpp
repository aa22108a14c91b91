#include "crash/mail/debug_email_copy.h"

#include "toolkit/file_services.h"

namespace crash {
LONG WriteDebugEmailCopy(std::string_view fileName, const MailLink& link) {
  if (link.part <= 1) return kx_String2File(fileName, link.urlToRun, 0, 0);
  return kx_String2File(fileName, "\r\n\r\n" + link.urlToRun, 0, 1);
}
}  // namespace crash
