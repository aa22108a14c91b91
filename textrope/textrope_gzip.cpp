#include <algorithm>
#include <cstring>
#include <string>

#include "textrope/fresh_block.h"
#include "textrope/gunzip_size_hint.h"
#include "textrope/textrope.h"
#include "textrope/zlib_binding.h"

namespace {

constexpr LONG kZlibMissing = -99;
constexpr int kGzipWindowBits = 15 + 16;       // gzip wrapper
constexpr int kAnyHeaderWindowBits = 15 + 32;  // gzip or zlib header, detected
constexpr int kMemoryLevel = 9;
// zlib counts in 32 bits; larger values go through in portions.
constexpr std::size_t kPortion = std::size_t{1} << 30;
constexpr std::size_t kSmallestBuffer = 64;

uInt Portion(std::size_t n) { return static_cast<uInt>(std::min(n, kPortion)); }

// Hands the input to zlib a portion at a time.
class InputFeed {
 public:
  InputFeed(z_stream& stream, const std::string& input) : stream_(stream), input_(input) {}
  void Top() {
    if (stream_.avail_in != 0 || fed_ == input_.size()) return;
    stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input_.data())) + fed_;
    stream_.avail_in = Portion(input_.size() - fed_);
    fed_ += stream_.avail_in;
  }
  bool AllGiven() const { return fed_ == input_.size(); }
  bool Exhausted() const { return AllGiven() && stream_.avail_in == 0; }

 private:
  z_stream& stream_;
  const std::string& input_;
  std::size_t fed_ = 0;
};

// Runs the value through a zlib stream that is already open. Each round hands zlib the next
// portion of input and the free end of the output (doubled when full); `round` calls zlib and
// answers Z_OK to go on, Z_STREAM_END when the stream is done, or a failure. On success the
// value becomes the output, exactly as long as its bytes; on failure it is given back whole.
template <typename Round>
int RunStream(Textrope& t, z_stream& stream, std::size_t firstOutputSize, Round round) {
  std::string input;
  input.swap(t.value);
  std::string out = textrope::FreshBlock(firstOutputSize);
  std::size_t produced = 0;
  InputFeed feed(stream, input);
  int rc = Z_OK;
  while (rc == Z_OK) {
    feed.Top();
    if (produced == out.size()) textrope::ResizeForOverwrite(out, out.size() * 2);
    stream.next_out = reinterpret_cast<Bytef*>(out.data()) + produced;
    stream.avail_out = Portion(out.size() - produced);
    const uInt room = stream.avail_out;
    rc = round(feed);
    produced += room - stream.avail_out;
  }
  if (rc != Z_STREAM_END) {
    t.value = std::move(input);
    return rc;
  }
  // Cut to what was produced: the pages beyond it were never touched, so they cost nothing.
  out.resize(produced);
  t.value.swap(out);
  if (!t.value.empty()) t.base64 = 0;
  return Z_OK;
}

}  // namespace

void Textrope::LoadLibs() {
  if (!textrope::BindZlib()) Trace(std::string("Failed to load ") + textrope::kZlibLibraryName);
}

LONG Textrope::Gzip(LONG pLevel) {
  if (gzipped != 0) return 0;
  LoadLibs();
  const textrope::ZlibEntryPoints zlib = textrope::BoundZlib();
  if (zlib.deflateInit2Entry == nullptr || zlib.deflate == nullptr || zlib.deflateEnd == nullptr) return kZlibMissing;

  z_stream stream{};
  int rc = zlib.deflateInit2Entry(&stream, pLevel, Z_DEFLATED, kGzipWindowBits, kMemoryLevel, Z_DEFAULT_STRATEGY,
                                  ZLIB_VERSION, static_cast<int>(sizeof(z_stream)));
  if (rc != Z_OK) return rc;
  // One pass usually does: compressed data rarely outgrows its input. The stream is always
  // finished, so the result is a complete member that any gzip reader takes (and a one-byte
  // value no longer spins in a pass that cannot finish).
  rc = RunStream(*this, stream, std::clamp(value.size(), kSmallestBuffer, kPortion), [&](const InputFeed& feed) {
    return zlib.deflate(&stream, feed.AllGiven() ? Z_FINISH : Z_NO_FLUSH);
  });
  zlib.deflateEnd(&stream);
  if (rc == Z_OK) gzipped = 1;
  return rc;
}

LONG Textrope::Gunzip() {
  if (gzipped == 0) return 0;
  LoadLibs();
  const textrope::ZlibEntryPoints zlib = textrope::BoundZlib();
  if (zlib.inflateInit2Entry == nullptr || zlib.inflate == nullptr || zlib.inflateEnd == nullptr) return kZlibMissing;

  z_stream stream{};
  int rc = zlib.inflateInit2Entry(&stream, kAnyHeaderWindowBits, ZLIB_VERSION, static_cast<int>(sizeof(z_stream)));
  if (rc != Z_OK) return rc;
  rc = RunStream(*this, stream, textrope::GunzipFirstBlockSize(value), [&](const InputFeed& feed) {
    const int step = zlib.inflate(&stream, Z_SYNC_FLUSH);
    // A stream that names a preset dictionary cannot be read without it: that is a failure
    // like any other unreadable data, not the positive "need dictionary" answer.
    if (step == Z_NEED_DICT) return Z_DATA_ERROR;
    const bool stalled = step == Z_BUF_ERROR || (step == Z_OK && stream.avail_out != 0);
    if (!stalled) return step;  // at Z_STREAM_END, bytes after the complete member are not ours
    if (!feed.Exhausted()) return Z_OK;
    // The input ran out before the end of the stream. Values compressed before streams were
    // finished end this way, on a block boundary after a sync flush; input that stops
    // anywhere else, or holds no data at all, is torn.
    const bool onBlockBoundary = (stream.data_type & 128) != 0;
    return (onBlockBoundary && stream.total_out > 0) ? Z_STREAM_END : Z_BUF_ERROR;
  });
  zlib.inflateEnd(&stream);
  if (rc == Z_OK) gzipped = 0;
  return rc;
}
