// A folder entry read as the leftover new file of a replacement: any process may put any name
// in a shared folder, and a name taken for a leftover is a file that gets removed.
// Rules: only "<name>.tmp-<digits>-<digits>" is a leftover of `name`, of a process above 0;
// a name this process makes is always read back as its own.
#include <unistd.h>

#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "platform/win/files/leftover_name.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  const std::string name = in.Text();
  const std::string entry = in.Rest();

  const pid_t owner = win::LeftoverOwner(entry, name);
  if (owner != 0) {
    const std::string mark = name + ".tmp-";
    FUZZ_CHECK(owner > 0, fuzz::Shown(entry));
    FUZZ_CHECK(entry.compare(0, mark.size(), mark) == 0, fuzz::Shown(entry));
    const std::string tail = entry.substr(mark.size());
    const std::size_t dash = tail.find('-');
    FUZZ_CHECK(dash != std::string::npos && dash > 0 && dash + 1 < tail.size(), fuzz::Shown(entry));
    FUZZ_CHECK(tail.find_first_not_of("0123456789-") == std::string::npos, fuzz::Shown(entry));
    FUZZ_CHECK(tail.find('-', dash + 1) == std::string::npos, fuzz::Shown(entry));
  }
  FUZZ_CHECK(win::LeftoverOwner(win::LeftoverName(name), name) == ::getpid(), fuzz::Shown(name));
  return 0;
}
