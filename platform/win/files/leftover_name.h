#pragma once
// The names of the new files a replacement writes where the file system has no unnamed files,
// "<name>.tmp-<pid>-<n>": any process may have left one (or planted a name like one) in a
// shared folder, so a name is read strictly before a file is taken for a leftover.
#include <sys/types.h>

#include <string>
#include <string_view>

namespace win {

// A new name beside `target` for this process, different at every call.
std::string LeftoverName(const std::string& target);
// The process that named `entry` as a new file for the file named `name` (both without a
// folder); 0 when `entry` is not such a name.
pid_t LeftoverOwner(std::string_view entry, std::string_view name);

}  // namespace win
