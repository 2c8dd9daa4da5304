// The byte-set search over 32-byte chunks; this file alone is compiled for
// AVX2 (TByteSet::Find asks HasAvx2() before calling in).
#include "sjis/bytescan_impl.h"
#include "sjis/byteset.h"

#if defined(KOVALEX_HAVE_AVX2)

#include <immintrin.h>

namespace bytescan {

std::size_t FindInSet32(const unsigned char* p, std::size_t n, const std::uint8_t* low, const std::uint8_t* high,
                        const bool* members, std::size_t& done) {
  const __m256i lowTable = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(low)));
  const __m256i highTable = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(high)));
  const __m256i halfMask = _mm256_set1_epi8(0x0F);
  const __m256i zero = _mm256_setzero_si256();
  std::size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    const __m256i chunk = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
    const __m256i lows = _mm256_shuffle_epi8(lowTable, _mm256_and_si256(chunk, halfMask));
    const __m256i highs = _mm256_shuffle_epi8(highTable, _mm256_and_si256(_mm256_srli_epi16(chunk, 4), halfMask));
    auto admitted =
        ~static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(_mm256_and_si256(lows, highs), zero)));
    while (admitted != 0) {
      const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(admitted));
      if (members[p[at]]) {
        done = i + 32;
        return at;
      }
      admitted &= admitted - 1;
    }
  }
  done = i;
  return n;
}

}  // namespace bytescan

#endif
