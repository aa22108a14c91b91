#pragma once
// How large a block Gunzip starts with. The trailer of a complete gzip member states its
// length modulo 2^32; it comes from outside, so it is only a hint, never trusted beyond what
// the input can expand to.
#include <cstddef>
#include <string_view>

namespace textrope {

std::size_t GunzipFirstBlockSize(std::string_view input);

}  // namespace textrope
