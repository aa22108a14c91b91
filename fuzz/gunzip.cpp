// Textrope's Gunzip on any bytes, and Gzip of any bytes.
// Rules: whatever zlib itself reads to the end of a gzip member or zlib stream, Gunzip reads
// to the same bytes; a failed Gunzip leaves the value and its flag as they were; Gunzip gives
// back exactly what Gzip was given, at every level.
#include <zlib.h>

#include <cstdint>
#include <optional>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "textrope/textrope.h"

namespace {

// zlib's own reading of one gzip member or zlib stream; nothing unless it reaches the end.
std::optional<std::string> ZlibReads(const std::string& bytes) {
  z_stream stream{};
  if (inflateInit2(&stream, 15 + 32) != Z_OK) return std::nullopt;
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  std::string out;
  int rc = Z_OK;
  while (rc == Z_OK && out.size() < (64u << 20)) {
    char buffer[16384];
    stream.next_out = reinterpret_cast<Bytef*>(buffer);
    stream.avail_out = sizeof buffer;
    rc = inflate(&stream, Z_NO_FLUSH);
    out.append(buffer, sizeof buffer - stream.avail_out);
    if (rc == Z_OK && stream.avail_in == 0 && stream.avail_out != 0) break;
  }
  inflateEnd(&stream);
  if (rc != Z_STREAM_END) return std::nullopt;
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  const LONG level = static_cast<LONG>(input.Below(11)) - 1;
  const std::string bytes = input.Rest();

  Textrope packed;
  packed.value = bytes;
  packed.gzipped = 1;
  const LONG rc = packed.Gunzip();
  if (rc == 0) {
    FUZZ_CHECK(packed.gzipped == 0);
  } else {
    FUZZ_CHECK(packed.value == bytes && packed.gzipped == 1, "answer " + std::to_string(rc));
  }
  if (auto expected = ZlibReads(bytes)) {
    FUZZ_CHECK(rc == 0, "answer " + std::to_string(rc));
    FUZZ_CHECK(packed.value == *expected);
  }

  Textrope plain;
  plain.value = bytes;
  FUZZ_CHECK(plain.Gzip(level) == 0);
  FUZZ_CHECK(ZlibReads(plain.value) == bytes);
  FUZZ_CHECK(plain.Gunzip() == 0);
  FUZZ_CHECK(plain.value == bytes);
  return 0;
}
