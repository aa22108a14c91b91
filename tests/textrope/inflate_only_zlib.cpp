// A zlib of the tests' own, named as the one the program binds ("libz.so.1"), that has only
// the expanding entry points: it hands them on to the system's zlib. A test program that
// finds it first has a zlib whose compression cannot bind.
#include <dlfcn.h>
#include <zlib.h>

namespace {

template <typename F>
F SystemProc(const char* name) {
  static void* const system = dlopen(SYSTEM_ZLIB, RTLD_NOW | RTLD_LOCAL);
  return system != nullptr ? reinterpret_cast<F>(dlsym(system, name)) : nullptr;
}

}  // namespace

extern "C" {

int inflateInit2_(z_streamp stream, int windowBits, const char* version, int streamSize) {
  static const auto proc = SystemProc<int (*)(z_streamp, int, const char*, int)>("inflateInit2_");
  return proc != nullptr ? proc(stream, windowBits, version, streamSize) : Z_VERSION_ERROR;
}

int inflate(z_streamp stream, int flush) {
  static const auto proc = SystemProc<int (*)(z_streamp, int)>("inflate");
  return proc != nullptr ? proc(stream, flush) : Z_STREAM_ERROR;
}

int inflateEnd(z_streamp stream) {
  static const auto proc = SystemProc<int (*)(z_streamp)>("inflateEnd");
  return proc != nullptr ? proc(stream) : Z_STREAM_ERROR;
}

}  // extern "C"
