#pragma once
// The process-wide table of zlib entry points that Gzip and Gunzip use. zlib is never linked:
// its header gives the stream record, the version text and the call signatures, and the
// library itself is bound at run time through LoadLibraryA/GetProcAddress.
#include <zlib.h>

namespace textrope {

inline constexpr char kZlibLibraryName[] = "libz.so.1";

// Null where the entry point is missing (or nothing is bound yet).
struct ZlibEntryPoints {
  decltype(&::deflateInit2_) deflateInit2Entry = nullptr;
  decltype(&::deflate) deflate = nullptr;
  decltype(&::deflateEnd) deflateEnd = nullptr;
  decltype(&::inflateInit2_) inflateInit2Entry = nullptr;
  decltype(&::inflate) inflate = nullptr;
  decltype(&::inflateEnd) inflateEnd = nullptr;
};

// Binds the library once per process. False when it could not be loaded this time; the
// next call tries again. Entry points missing from a loaded library stay missing.
bool BindZlib();
// A copy of the table as it stands.
ZlibEntryPoints BoundZlib();

}  // namespace textrope
