#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <zlib.h>

#include "platform/win/modules/library.h"
#include "tests/support/child_program.h"
#include "tests/textrope/support.h"
#include "textrope/gunzip_size_hint.h"
#include "textrope/textrope.h"

namespace {

using namespace std::string_literals;

// Binary data with NULs and a trailing blank, in a pattern that compresses a little.
std::string Mixed(std::size_t size) {
  std::string data(size, '\0');
  unsigned seed = 3;
  for (std::size_t i = 0; i < size; ++i) {
    seed = seed * 1103515245u + 12345u;
    data[i] = static_cast<char>((seed >> 28) * (i % 3));
  }
  if (size > 0) data.back() = ' ';
  return data;
}

// What Gzip wrote before it finished its streams: a gzip header, the deflate data and a sync
// flush, with no final block and no trailer. zlib is bound the way the class binds it.
std::string OldGzip(const std::string& plain) {
  HMODULE zlib = LoadLibraryA("libz.so.1");
  if (zlib == nullptr) return {};
  auto init = reinterpret_cast<decltype(&::deflateInit2_)>(GetProcAddress(zlib, "deflateInit2_"));
  auto deflate = reinterpret_cast<decltype(&::deflate)>(GetProcAddress(zlib, "deflate"));
  auto end = reinterpret_cast<decltype(&::deflateEnd)>(GetProcAddress(zlib, "deflateEnd"));
  z_stream stream{};
  if (init(&stream, 6, Z_DEFLATED, 31, 9, Z_DEFAULT_STRATEGY, ZLIB_VERSION, sizeof(z_stream)) != Z_OK) return {};
  std::string out(plain.size() + 1024, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
  stream.avail_in = static_cast<uInt>(plain.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  int rc = deflate(&stream, Z_SYNC_FLUSH);
  out.resize(stream.total_out);
  end(&stream);
  FreeLibrary(zlib);
  return rc == Z_OK ? out : std::string();
}

void ExpectRoundTrip(const std::string& plain, LONG level = -1) {
  Textrope t;
  t.SetValue(plain);
  ASSERT_EQ(t.Gzip(level), 0) << plain.size();
  EXPECT_EQ(t.gzipped, 1);
  ASSERT_GE(t.value.size(), 18u);
  EXPECT_EQ(t.value.substr(0, 2), "\x1f\x8b");
  ASSERT_EQ(t.Gunzip(), 0) << plain.size();
  EXPECT_EQ(t.gzipped, 0);
  EXPECT_TRUE(t.value == plain) << "size " << plain.size();
}

// Binding the library that is there traces nothing.
TEST(TextropeGzip, RoundTripsAtEverySize) {
  TraceCapture trace;
  for (std::size_t size : {0, 1, 2, 3, 4, 5, 6, 57}) {
    ExpectRoundTrip(std::string(size, '\0'));
    ExpectRoundTrip(Mixed(size));
  }
  ExpectRoundTrip(std::string(64 * 1024, '\0'));
  ExpectRoundTrip(std::string(1024 * 1024, '\0'));
  ExpectRoundTrip(Mixed(300000), 9);
  ExpectRoundTrip(Mixed(300000), 0);  // stored blocks: the output outgrows the input
  EXPECT_TRUE(trace.lines.empty());
}

TEST(TextropeGzip, FlagDecidesWhetherAnythingHappens) {
  Textrope t;
  t.SetValue("plain text");
  EXPECT_EQ(t.Gunzip(), 0);  // never compressed
  EXPECT_EQ(t.value, "plain text");
  ASSERT_EQ(t.Gzip(6), 0);
  std::string compressed = t.value;
  EXPECT_EQ(t.Gzip(6), 0);  // already compressed
  EXPECT_EQ(t.value, compressed);
  // Setting the value keeps the flag: the caller owns it.
  t.SetValue("other");
  EXPECT_EQ(t.gzipped, 1);
  t.SetValue(compressed);
  ASSERT_EQ(t.Gunzip(), 0);
  EXPECT_EQ(t.value, "plain text");
  EXPECT_EQ(t.Gunzip(), 0);
  EXPECT_EQ(t.value, "plain text");
}

TEST(TextropeGzip, BadLevelLeavesTheValue) {
  Textrope t;
  t.SetValue("keep me");
  EXPECT_EQ(t.Gzip(10), -2);
  EXPECT_EQ(t.value, "keep me");
  EXPECT_EQ(t.gzipped, 0);
  EXPECT_EQ(t.lastError, "");
}

// Gunzip reads what others wrote; what it cannot read leaves the value and the flag alone.
TEST(TextropeGzip, GunzipReadsWhatOthersWroteAndRefusesTheRest) {
  const std::string zeros(1 << 20, '\0');
  const std::string old = OldGzip(zeros);
  ASSERT_FALSE(old.empty());
  ASSERT_EQ(old.substr(old.size() - 4), "\0\0\xff\xff"s);
  Textrope source;
  source.SetValue(Mixed(5000));
  ASSERT_EQ(source.Gzip(), 0);
  const std::string good = source.value;
  std::string badCrc = good;
  badCrc[badCrc.size() - 6] ^= 0x55;
  struct Case {
    const char* what;
    std::string stored;
    LONG expected;
    std::string plain;  // for a failure: none, the value stays as stored
  } cases[] = {
      // Values compressed before streams were finished: sync-flushed, no trailer.
      {"unterminated", BytesFromHex("1f8b0800000000000003ca48cdc9c957c840900c0a00000000ffff"), 0, "hello hello hello\0 "s},
      {"unterminated over many passes", old, 0, zeros},
      {"zlib stream", BytesFromHex("789cabcac94c52282f4a2c28484d01001f0404c5"), 0, "zlib wrapped"},
      {"gzip file with a name",
       BytesFromHex("1f8b0808fbe3186b0003636162732e74787400cb4d4c495548aa5428c9485548afca2c5028c9cfcfe102006eb3e04616000000"),
       0, "made by the gzip tool\n"},
      {"trailing bytes",
       BytesFromHex("1f8b0800000000000003cb4d4c495548aa5428c9485548afca2c5028c9cfcfe102006eb3e04616000000") + "junk", 0,
       "made by the gzip tool\n"},
      {"garbage", "not compressed at all", -3, ""},
      {"zlib stream naming a dictionary", BytesFromHex("78bb8f3009fb8333001028035b"), -3, ""},
      {"bad checksum", badCrc, -3, ""},
      {"cut in half", good.substr(0, good.size() / 2), -5, ""},
      {"header only", good.substr(0, 10), -5, ""},
      {"empty", "", -5, ""},
      {"old stream cut off a flush point", OldGzip(Mixed(5000)).substr(0, 1500), -5, ""},
  };
  for (const Case& c : cases) {
    Textrope t;
    t.SetValue(c.stored);
    t.gzipped = 1;
    EXPECT_EQ(t.Gunzip(), c.expected) << c.what;
    EXPECT_TRUE(t.value == (c.expected == 0 ? c.plain : c.stored)) << c.what;
    EXPECT_EQ(t.gzipped, c.expected == 0 ? 0 : 1) << c.what;
  }
}

// The trailer's length (least significant byte first) sizes the first block, but only as far
// as the input could expand: the trailer is as untrusted as the rest.
TEST(TextropeGzip, FirstBlockFollowsTheTrailerWithinWhatTheInputCanHold) {
  Textrope megabyte;
  megabyte.SetValue(std::string(1 << 20, '\0'));
  ASSERT_EQ(megabyte.Gzip(), 0);
  const std::string hundred = BytesFromHex("1f8b0800000000000203aba8a03d00008f5d0e5e64000000");
  auto trailer = [&](std::string_view last4) { return hundred.substr(0, hundred.size() - 4) + std::string(last4); };
  // Only the frame is read: two megabytes that claim to expand to 1 GiB are believable.
  const std::string hugeClaim = "\x1f\x8b"s + std::string(2 << 20, 'x') + "\x00\x00\x00\x40"s;
  struct Case {
    const char* what;
    std::string input;
    std::size_t expected;
  } cases[] = {
      {"a megabyte, as stated", megabyte.value, std::size_t{1} << 20},
      {"a hundred bytes, as stated", hundred, 100},
      {"more than the input can expand to", trailer("\xff\xff\xff\xff"), hundred.size() * 4},
      {"a stated zero", trailer("\0\0\0\0"s), hundred.size() * 4},
      {"believable but large", hugeClaim, std::size_t{256} << 20},
      {"zlib stream", BytesFromHex("789cabcac94c52282f4a2c28484d01001f0404c5"), 80},
      {"tiny", "ab", 64},
  };
  for (const Case& c : cases) EXPECT_EQ(textrope::GunzipFirstBlockSize(c.input), c.expected) << c.what;
}

TEST(TextropeGzip, SystemGzipReadsTheOutput) {
  const char* gzip = "/bin/gzip";  // an essential package of the system: always there
  for (const std::string& plain : {std::string(1, 'x'), Mixed(70000), std::string(100000, '\0')}) {
    Textrope t;
    t.SetValue(plain);
    ASSERT_EQ(t.Gzip(), 0);
    const char* path = "gzip_test_output.gz";
    std::ofstream(path, std::ios::binary) << t.value;
    test_support::ChildRun run = test_support::RunChild({gzip, "-dc", path});
    ASSERT_TRUE(run.started) << gzip;
    EXPECT_EQ(run.status, 0) << "gzip complained about a " << plain.size() << "-byte value: " << run.errors;
    EXPECT_TRUE(run.output == plain) << plain.size();
    std::remove(path);
  }
}

// A derived class may replace the binding step; Gzip reaches it through the object.
TEST(TextropeGzip, BindingGoesThroughTheObject) {
  struct Counting : Textrope {
    int loads = 0;
    void LoadLibs() override {
      ++loads;
      Textrope::LoadLibs();
    }
  } t;
  t.SetValue("abc");
  ASSERT_EQ(t.Gzip(), 0);
  ASSERT_EQ(t.Gunzip(), 0);
  EXPECT_EQ(t.loads, 2);
}

}  // namespace
