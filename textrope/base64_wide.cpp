#include "textrope/base64_wide.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace textrope {

#if defined(__x86_64__)
namespace {

constexpr std::size_t kChunk = 24;
constexpr std::size_t kLineBytes = 57;
constexpr std::size_t kLineChars = 76;

// The 24 bytes at in, each group of three spread over four bytes (lane 0 takes in[0..11] from
// its load of in[0..15], lane 1 takes in[12..23] from its load of in[8..23], so nothing past
// the 24 bytes is read), then cut into the four 6-bit digits in output order.
__attribute__((target("avx2"))) inline __m256i ChunkDigits(const unsigned char* in) {
  const __m256i loaded = _mm256_inserti128_si256(
      _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in))),
      _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 8)), 1);
  const __m256i spread = _mm256_shuffle_epi8(
      loaded, _mm256_setr_epi8(1, 0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10,  //
                               5, 4, 6, 5, 8, 7, 9, 8, 11, 10, 12, 11, 14, 13, 15, 14));
  // Digits 0 and 2 of each group by a high multiply, 1 and 3 by a low one.
  const __m256i even = _mm256_mulhi_epu16(_mm256_and_si256(spread, _mm256_set1_epi32(0x0FC0FC00)),
                                          _mm256_set1_epi32(0x04000040));
  const __m256i odd = _mm256_mullo_epi16(_mm256_and_si256(spread, _mm256_set1_epi32(0x003F03F0)),
                                         _mm256_set1_epi32(0x01000010));
  return _mm256_or_si256(even, odd);
}

// Digits 0-63 to the alphabet: each range of the alphabet is the digit plus one offset,
// picked by a small table look-up.
__attribute__((target("avx2"))) inline __m256i DigitChars(__m256i digits) {
  const __m256i offsets = _mm256_setr_epi8(65, 71, -4, -4, -4, -4, -4, -4, -4, -4, -4, -4, -19, -16, 0, 0,  //
                                           65, 71, -4, -4, -4, -4, -4, -4, -4, -4, -4, -4, -19, -16, 0, 0);
  // 0 for A-Z, 1 for a-z, 2-11 for the figures, 12 for "+", 13 for "/".
  __m256i pick = _mm256_subs_epu8(digits, _mm256_set1_epi8(51));
  pick = _mm256_sub_epi8(pick, _mm256_cmpgt_epi8(digits, _mm256_set1_epi8(25)));
  return _mm256_add_epi8(digits, _mm256_shuffle_epi8(offsets, pick));
}

__attribute__((target("avx2"))) inline void EncodeChunk(const unsigned char* in, char* out) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), DigitChars(ChunkDigits(in)));
}

__attribute__((target("avx2"))) std::size_t EncodeAvx2(const unsigned char* in, std::size_t n, char* out,
                                                       bool wrap) {
  std::size_t i = 0;
  if (!wrap) {
    for (; i + kChunk <= n; i += kChunk, out += 32) EncodeChunk(in + i, out);
    return i;
  }
  for (; i + kLineBytes <= n; i += kLineBytes, out += kLineChars + 2) {
    // The third chunk overlaps the second by 9 bytes and writes 12 of its characters again,
    // alike, so a line is three chunks.
    EncodeChunk(in + i, out);
    EncodeChunk(in + i + 24, out + 32);
    EncodeChunk(in + i + 33, out + 44);
    out[kLineChars] = '\r';
    out[kLineChars + 1] = '\n';
  }
  return i;
}

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

}  // namespace

std::size_t Base64EncodeWide(const unsigned char* in, std::size_t n, char* out, bool wrap) {
  return HasAvx2() ? EncodeAvx2(in, n, out, wrap) : 0;
}

#else

std::size_t Base64EncodeWide(const unsigned char*, std::size_t, char*, bool) { return 0; }

#endif

}  // namespace textrope
