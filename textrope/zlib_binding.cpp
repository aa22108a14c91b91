#include "textrope/zlib_binding.h"

#include <mutex>

#include "platform/win/modules/library.h"

namespace textrope {
namespace {

std::mutex gLock;
HMODULE gZlib = nullptr;
ZlibEntryPoints gEntryPoints;

template <class F>
void Bind(F& slot, const char* name) {
  slot = reinterpret_cast<F>(GetProcAddress(gZlib, name));
}

}  // namespace

bool BindZlib() {
  std::lock_guard guard(gLock);
  if (gZlib != nullptr) return true;
  gZlib = LoadLibraryA(kZlibLibraryName);
  if (gZlib == nullptr) return false;
  Bind(gEntryPoints.deflateInit2Entry, "deflateInit2_");
  Bind(gEntryPoints.deflate, "deflate");
  Bind(gEntryPoints.deflateEnd, "deflateEnd");
  Bind(gEntryPoints.inflateInit2Entry, "inflateInit2_");
  Bind(gEntryPoints.inflate, "inflate");
  Bind(gEntryPoints.inflateEnd, "inflateEnd");
  return true;
}

ZlibEntryPoints BoundZlib() {
  std::lock_guard guard(gLock);
  return gEntryPoints;
}

}  // namespace textrope
