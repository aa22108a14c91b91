#include "platform/codepages/iconv_code_page.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/codepages/code_page_sinks.h"
#include "platform/codepages/single_byte_page.h"

namespace codepages {
namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr char kUtf16[] = "UTF-16LE";
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
constexpr std::size_t kFailed = static_cast<std::size_t>(-1);

std::string CharsetName(unsigned codePage) {
  if (codePage == 0) return "CP1252";
  if (codePage == 20127) return "US-ASCII";
  return "CP" + std::to_string(codePage);
}

bool IsWindowsAnsiPage(unsigned codePage) { return codePage == 0 || (codePage >= 1250 && codePage <= 1258); }

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

bool HasSurrogates(const char16_t* units, std::size_t n) {
  std::size_t found = 0;  // a plain sum, so the compiler can take many units a step
  for (std::size_t i = 0; i < n; ++i) found += (units[i] & 0xF800) == 0xD800;
  return found != 0;
}

class Converter {
 public:
  Converter(const std::string& to, const std::string& from) : cd_(iconv_open(to.c_str(), from.c_str())) {}
  ~Converter() {
    if (cd_ != kNoConverter) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool Open() const { return cd_ != kNoConverter; }
  std::size_t Run(const char*& in, std::size_t& inLeft, char*& out, std::size_t& outLeft) {
    return iconv(cd_, const_cast<char**>(&in), &inLeft, &out, &outLeft);
  }
  void Reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }
  // Ends a stateful encoding (a shift back to its initial state).
  void Finish(char*& out, std::size_t& outLeft) { iconv(cd_, nullptr, nullptr, &out, &outLeft); }

 private:
  iconv_t cd_;
};

// The two encode calls of a page, answered by its one converter Page::EncodeTo.
template <class Page>
class PageEncoder : public IconvPage {
 public:
  std::size_t EncodedBytes(const char16_t* units, std::size_t n, std::string_view replacement,
                           bool* replaced) const override {
    CountingSink<char> sink;
    bool unmapped = false;
    static_cast<const Page*>(this)->EncodeTo(units, n, replacement, sink, unmapped);
    if (replaced != nullptr) *replaced = unmapped;
    return sink.count;
  }

  void Encode(const char16_t* units, std::size_t n, std::string_view replacement, char* bytes) const override {
    WritingSink<char> sink{bytes};
    bool unmapped = false;
    static_cast<const Page*>(this)->EncodeTo(units, n, replacement, sink, unmapped);
  }
};

class SingleBytePage final : public PageEncoder<SingleBytePage> {
 public:
  SingleBytePage(const std::array<char16_t, 256>& decode, const std::array<bool, 256>& defined)
      : tables_(decode, defined) {}

  const SingleByteTables* Tables() const override { return &tables_; }

  std::size_t DecodedUnits(const unsigned char*, std::size_t n) const override { return n; }

  void Decode(const unsigned char* bytes, std::size_t n, char16_t* units) const override {
    std::size_t i = 0;
    if (tables_.asciiKept) {
      // Text is mostly ASCII: blocks of it are widened many bytes a step.
      for (; i + kBlock <= n; i += kBlock) {
        if (AllAscii(bytes + i)) {
          for (std::size_t k = 0; k < kBlock; ++k) units[i + k] = bytes[i + k];
        } else {
          for (std::size_t k = 0; k < kBlock; ++k) units[i + k] = tables_.decode[bytes[i + k]];
        }
      }
    }
    for (; i < n; ++i) units[i] = tables_.decode[bytes[i]];
  }

  std::size_t EncodedBytes(const char16_t* units, std::size_t n, std::string_view replacement,
                           bool* replaced) const override {
    if (replaced == nullptr && !HasSurrogates(units, n)) return n;
    return PageEncoder::EncodedBytes(units, n, replacement, replaced);
  }

 private:
  friend PageEncoder;
  static constexpr std::size_t kBlock = 16;

  // Converts a block in one go when every unit in it maps to a byte.
  template <class Sink>
  bool PutBlock(const char16_t* units, Sink& out) const {
    if (tables_.asciiKept && AllAscii(units)) {
      out.PutAscii(units, kBlock);
      return true;
    }
    std::uint16_t bytes[kBlock];
    std::uint16_t missing = 0;
    for (std::size_t k = 0; k < kBlock; ++k) {
      bytes[k] = tables_.encode[units[k]];
      missing |= bytes[k] & 0xFF00;  // only kUnmapped has high bits
    }
    if (missing != 0) return false;
    out.PutAscii(bytes, kBlock);  // one byte each
    return true;
  }

  static bool AllAscii(const unsigned char* bytes) {
    std::uint64_t a, b;
    std::memcpy(&a, bytes, 8);
    std::memcpy(&b, bytes + 8, 8);
    return ((a | b) & 0x8080808080808080ull) == 0;
  }
  static bool AllAscii(const char16_t* units) {
    std::uint64_t word[4];
    std::memcpy(word, units, sizeof word);
    return ((word[0] | word[1] | word[2] | word[3]) & 0xFF80FF80FF80FF80ull) == 0;
  }

  template <class Sink>
  void EncodeTo(const char16_t* units, std::size_t n, std::string_view replacement, Sink& out, bool& unmapped) const {
    const char fallback = replacement.empty() ? tables_.defaultChar : replacement.front();
    for (std::size_t i = 0; i < n; ++i) {
      if (i + kBlock <= n && PutBlock(units + i, out)) {
        i += kBlock - 1;
        continue;
      }
      const std::uint16_t byte = tables_.encode[units[i]];
      if (byte != kUnmapped) {
        out.Put(static_cast<char>(byte));
        continue;
      }
      // A surrogate pair is one character and gets one default character.
      if (IsHighSurrogate(units[i]) && i + 1 < n && IsLowSurrogate(units[i + 1])) ++i;
      out.Put(fallback);
      unmapped = true;
    }
  }

  static constexpr std::uint16_t kUnmapped = SingleByteTables::kUnmapped;
  SingleByteTables tables_;
};

class MultiBytePage final : public PageEncoder<MultiBytePage> {
 public:
  // c1Holes: bytes the page leaves undefined that stand for the C1 control of their number.
  explicit MultiBytePage(std::string charset, const std::array<bool, 256>& c1Holes = {})
      : charset_(std::move(charset)), c1Holes_(c1Holes) {
    Converter toPage(charset_, kUtf16);
    const char question[] = {'?', '\0'};
    const char* in = question;
    std::size_t inLeft = 2;
    char buffer[16];
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    if (toPage.Open() && toPage.Run(in, inLeft, out, outLeft) != kFailed) toPage.Finish(out, outLeft);
    defaultChar_ = out > buffer ? std::string(buffer, out) : std::string("?");
  }

  std::size_t DecodedUnits(const unsigned char* bytes, std::size_t n) const override {
    CountingSink<char16_t> sink;
    ConvertFrom(bytes, n, sink);
    return sink.count;
  }

  void Decode(const unsigned char* bytes, std::size_t n, char16_t* units) const override {
    WritingSink<char16_t> sink{units};
    ConvertFrom(bytes, n, sink);
  }

 private:
  friend PageEncoder;
  template <class Sink>
  void ConvertFrom(const unsigned char* bytes, std::size_t n, Sink& out) const {
    Converter toUtf16(kUtf16, charset_);
    const char* in = reinterpret_cast<const char*>(bytes);
    std::size_t inLeft = n;
    char chunk[4096];
    auto emit = [&](const char* end) {
      for (const char* p = chunk; p + 1 < end; p += 2) {
        char16_t unit;
        std::memcpy(&unit, p, 2);
        out.Put(unit);
      }
    };
    while (inLeft > 0) {
      char* outPtr = chunk;
      std::size_t outLeft = sizeof chunk;
      const bool failed = toUtf16.Run(in, inLeft, outPtr, outLeft) == kFailed;
      const int error = errno;
      emit(outPtr);
      if (!failed || error == E2BIG) continue;
      // A byte that starts nothing valid, or a sequence cut short by the end. A page that
      // composes (1255, 1258) may hold a letter back in case a combining mark follows: it
      // comes out first, ahead of the replacement.
      outPtr = chunk;
      outLeft = sizeof chunk;
      toUtf16.Finish(outPtr, outLeft);
      emit(outPtr);
      const auto undefined = static_cast<unsigned char>(*in);
      out.Put(c1Holes_[undefined] ? static_cast<char16_t>(undefined) : kReplacement);
      ++in;
      --inLeft;
    }
    char* outPtr = chunk;
    std::size_t outLeft = sizeof chunk;
    toUtf16.Finish(outPtr, outLeft);
    emit(outPtr);
  }

  template <class Sink>
  void EncodeTo(const char16_t* units, std::size_t n, std::string_view replacement, Sink& out, bool& unmapped) const {
    Converter toPage(charset_, kUtf16);
    const std::string_view fallback = replacement.empty() ? std::string_view(defaultChar_) : replacement.substr(0, 1);
    const char* in = reinterpret_cast<const char*>(units);
    std::size_t inLeft = n * 2;
    char chunk[4096];
    auto emit = [&](const char* end) {
      for (const char* p = chunk; p < end; ++p) out.Put(*p);
    };
    while (inLeft > 0) {
      char* outPtr = chunk;
      std::size_t outLeft = sizeof chunk;
      const bool failed = toPage.Run(in, inLeft, outPtr, outLeft) == kFailed;
      const int error = errno;
      emit(outPtr);
      if (!failed || error == E2BIG) continue;
      std::size_t at = n - inLeft / 2;
      std::size_t skip = (IsHighSurrogate(units[at]) && at + 1 < n && IsLowSurrogate(units[at + 1])) ? 2 : 1;
      if (units[at] < 0x100 && c1Holes_[units[at]]) {
        out.Put(static_cast<char>(units[at]));
      } else {
        for (char c : fallback) out.Put(c);
        unmapped = true;
      }
      in += 2 * skip;
      inLeft -= 2 * skip;
    }
    char* outPtr = chunk;
    std::size_t outLeft = sizeof chunk;
    toPage.Finish(outPtr, outLeft);
    emit(outPtr);
  }

  std::string charset_;
  std::array<bool, 256> c1Holes_;
  std::string defaultChar_;
};

std::shared_ptr<const IconvPage> LoadPage(unsigned codePage) {
  const std::string charset = CharsetName(codePage);
  Converter probe(kUtf16, charset);
  if (!probe.Open()) return nullptr;
  std::array<char16_t, 256> decode{};
  std::array<bool, 256> defined{};
  std::array<bool, 256> c1Holes{};
  bool composes = false;
  for (int b = 0; b < 256; ++b) {
    const char byte = static_cast<char>(b);
    const char* in = &byte;
    std::size_t inLeft = 1;
    char buffer[8];
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    probe.Reset();
    std::size_t rc = probe.Run(in, inLeft, out, outLeft);
    if (rc == kFailed && errno == EINVAL) return std::make_shared<MultiBytePage>(charset);  // a lead byte
    if (rc == kFailed) {
      // Undefined in this page. The Windows ANSI pages give their holes in 80h-9Fh the C1
      // controls of the same number, so those bytes survive a round trip.
      c1Holes[b] = IsWindowsAnsiPage(codePage) && b >= 0x80 && b <= 0x9F;
      decode[b] = c1Holes[b] ? static_cast<char16_t>(b) : kReplacement;
      defined[b] = c1Holes[b];
      continue;
    }
    if (out == buffer) {
      // Held back in case a combining mark follows: the page composes.
      probe.Finish(out, outLeft);
      composes = true;
    }
    if (out - buffer != 2) return std::make_shared<MultiBytePage>(charset);  // shifts or pairs
    std::memcpy(&decode[b], buffer, 2);
    defined[b] = true;
  }
  if (composes) return std::make_shared<MultiBytePage>(charset, c1Holes);
  return std::make_shared<SingleBytePage>(decode, defined);
}

}  // namespace

std::shared_ptr<const IconvPage> FindIconvPage(unsigned codePage) {
  static std::mutex lock;
  static std::map<unsigned, std::shared_ptr<const IconvPage>> pages;
  std::lock_guard guard(lock);
  auto found = pages.find(codePage);
  if (found != pages.end()) return found->second;
  return pages[codePage] = LoadPage(codePage);
}

}  // namespace codepages
