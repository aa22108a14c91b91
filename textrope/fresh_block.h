#pragma once
// Blocks for results that are written whole right after they are sized. Filling them first
// is wasted work, and on a fresh block of many megabytes the first touch of every 4 KiB page
// costs more than the coding itself, so large blocks ask the kernel for huge pages.
#include <cstddef>
#include <string>

namespace textrope {

// A string of n bytes whose contents are unspecified until written.
std::string FreshBlock(std::size_t n);

// s becomes n bytes long without filling: its bytes stay, the ones beyond its old length are
// unspecified until written. Its own block is reused when it has room.
void ResizeForOverwrite(std::string& s, std::size_t n);

}  // namespace textrope
