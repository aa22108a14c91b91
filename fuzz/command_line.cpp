// Command lines split by quoting rules (RUN, ShellExecuteA's parameters).
// Rules: any text splits without a fault; arguments quoted one by one and joined by blanks
// split back into exactly those arguments, whatever quotes, backslashes or blanks they hold.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "platform/win/shell/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  const std::string line = input.Text('\n');
  const std::vector<std::string> split = win::SplitCommandLine(line);
  // Splitting again what was split and quoted back gives the same arguments.
  std::string again;
  for (const auto& argument : split) again += (again.empty() ? "" : " ") + win::QuoteArgument(argument);
  FUZZ_CHECK(win::SplitCommandLine(again) == split, again);

  std::vector<std::string> arguments;
  while (!input.Empty()) arguments.push_back(input.Text('\n'));
  std::string joined;
  for (const auto& argument : arguments) joined += (joined.empty() ? "" : " ") + win::QuoteArgument(argument);
  FUZZ_CHECK(win::SplitCommandLine(joined) == arguments, joined);
  return 0;
}
