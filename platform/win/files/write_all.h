#pragma once
// Writes all of a text to a descriptor, going on after a write that was interrupted or took
// only part. Plain system calls only, so the fault path may use it too.
#include <initializer_list>
#include <string_view>

namespace win {

// False with errno set when a write fails; a write that takes nothing is ENOSPC.
bool WriteAll(int fd, std::string_view text);
// The texts one after the other; false at the first that fails.
bool WriteAll(int fd, std::initializer_list<std::string_view> texts);

}  // namespace win
