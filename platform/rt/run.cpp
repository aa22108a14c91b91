#include "platform/rt/run.h"

#include "platform/rt/error_code.h"
#include "platform/win/shell/command_line.h"
#include "platform/win/shell/program_start.h"
#include "platform/win/system/last_error.h"

int RUN(std::string_view commandLine) {
  int failure = win::StartProgram(win::SplitCommandLine(commandLine));
  int code = failure == 0 ? 0 : static_cast<int>(ErrorCodeFromErrno(failure));
  rt::SetErrorCode(code);
  return code;
}
