// In this process the library that the class binds as zlib lacks its compression entry
// points: only the expanding ones are there. The tests' own "libz.so.1" is loaded first, and
// the loader answers the name with the library of that name it already holds.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/textrope/support.h"
#include "textrope/textrope.h"

namespace {

class ZlibWithoutDeflate : public testing::Environment {
 public:
  void SetUp() override { ASSERT_NE(dlopen(INFLATE_ONLY_ZLIB, RTLD_NOW | RTLD_LOCAL), nullptr) << dlerror(); }
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new ZlibWithoutDeflate);

TEST(TextropeGzipWithoutDeflate, GzipAnswersMissingAndKeepsEverything) {
  TraceCapture trace;
  Textrope t;
  t.SetValue("stays as it is ");
  EXPECT_EQ(t.Gzip(), -99);
  EXPECT_EQ(t.value, "stays as it is ");
  EXPECT_EQ(t.gzipped, 0);
  EXPECT_EQ(t.lastError, "");
  // A missing entry point is not traced; only a library that cannot load is.
  EXPECT_TRUE(trace.lines.empty());
  EXPECT_EQ(t.Gzip(), -99);
}

TEST(TextropeGzipWithoutDeflate, GunzipStillBindsItsOwnEntryPoints) {
  Textrope t;
  const unsigned char member[] = {0x1f, 0x8b, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0x4b, 0x4c,
                                  0x4a, 0x06, 0x00, 0xc2, 0x41, 0x24, 0x35, 0x03, 0x00, 0x00, 0x00};
  t.SetValue(std::string(reinterpret_cast<const char*>(member), sizeof member));
  t.gzipped = 1;
  EXPECT_EQ(t.Gunzip(), 0);
  EXPECT_EQ(t.value, "abc");
  EXPECT_EQ(t.gzipped, 0);
}

}  // namespace
