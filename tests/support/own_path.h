#pragma once
// The running test program's own file, as the kernel names it.
#include <filesystem>
#include <string>

namespace test_support {

inline std::string OwnPath() { return std::filesystem::read_symlink("/proc/self/exe").string(); }

}  // namespace test_support
